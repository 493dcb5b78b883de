# make run   – install what is missing, build, start the program under Wine
# make test  – install what is missing, build, run every test
# make build – build the 32-bit program, the 64-bit check build and the tests
# make bench – run the listing and sorting benchmarks under Wine

BUILD := build
JOBS := $(shell nproc)

.PHONY: deps build run test bench clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)/win32 -j $(JOBS)
	cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)/win64 -j $(JOBS)
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(BUILD)/native -j $(JOBS)

run: build
	scripts/wine-session.sh $(BUILD)/wine-user --user scripts/run-in-wine.sh $(BUILD)/win32/bin/Quillvane.exe

test: build
	cd $(BUILD)/native && ctest --output-on-failure
	scripts/wine-session.sh $(BUILD)/wine-test sh -c 'cd $(BUILD)/win32 && ctest --output-on-failure'

bench: build
	scripts/wine-session.sh $(BUILD)/wine-bench scripts/run-in-wine.sh $(BUILD)/win32/bin/qv_bench.exe

clean:
	rm -rf $(BUILD)
