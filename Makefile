# make run   – install what is missing, build, start the program under Wine
# make test  – install what is missing, build, run every test (the zip too:
#              two builds must give the same bytes; and the 32-bit program
#              must start on Windows XP on a CPU without SSE)
# make build – build the 32-bit program, the 64-bit build and the tests
# make bench – run the benchmarks under Wine
# make screenshots – take the README's pictures in docs/ anew (not a test)
# make dist  – build the 32-bit program and write the zip for Windows users,
#              dist/Quillvane-<version>-win32.zip (scripts/make-dist.sh)
#
# Wine runs the 32-bit build where this machine can run 32-bit programs and
# the 64-bit build otherwise (scripts/wine-arch.sh); QV_WINE_ARCH=win32 or
# win64 forces one.

BUILD := build
JOBS := $(shell nproc)

.PHONY: deps build run test bench screenshots dist clean

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
	@arch=$$(scripts/wine-arch.sh run) && \
	QV_WINE_ARCH=$$arch scripts/wine-session.sh $(BUILD)/wine-user-$$arch --user \
	    scripts/run-in-wine.sh $(BUILD)/$$arch/bin/Quillvane.exe

test: build
	cd $(BUILD)/native && ctest --output-on-failure
	@scripts/check-dist.sh $(BUILD)
	@scripts/check-xp.sh $(BUILD)/win32/bin/Quillvane.exe
	@archs=$$(scripts/wine-arch.sh test) && for arch in $$archs; do \
	    echo "Tests under Wine, $$arch build:"; \
	    QV_WINE_ARCH=$$arch scripts/wine-session.sh $(BUILD)/wine-test-$$arch \
	        sh -c "cd $(BUILD)/$$arch && ctest --output-on-failure" || exit 1; \
	done

bench: build
	@arch=$$(scripts/wine-arch.sh run) && \
	QV_WINE_ARCH=$$arch scripts/wine-session.sh $(BUILD)/wine-bench-$$arch \
	    scripts/bench.sh $(BUILD)/$$arch/bin

screenshots: build
	@scripts/install-deps.sh screenshots
	@arch=$$(scripts/wine-arch.sh run) && \
	QV_WINE_ARCH=$$arch scripts/screenshots.sh $(BUILD)/$$arch/bin docs

dist: deps
	@scripts/make-dist.sh $(BUILD)/win32 dist

clean:
	rm -rf $(BUILD) dist
