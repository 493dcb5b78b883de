#!/usr/bin/python3
# A drive as slow as a network share whose server is gone, for the tests and
# the benchmark: a passthrough of BACKING at MOUNTPOINT whose statfs, readdir
# and getattr of the root wait as many seconds as DELAY_FILE says (0 when it
# is missing), and whose folders named "locked" can't be opened or read
# (EACCES).
#   slow-drive.py BACKING MOUNTPOINT DELAY_FILE
# The system's /usr/bin/python3 has Debian's fusepy.
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations, fuse_get_context

LOCKED = "locked"


class SlowDrive(Operations):
    def __init__(self, backing, delay_file):
        self.backing = os.path.realpath(backing)
        self.delay_file = os.path.realpath(delay_file)
        self.delay = 0.0
        self.read_at = 0.0
        self.lock = threading.Lock()

    def _full(self, path):
        return os.path.join(self.backing, path.lstrip("/"))

    def _current_delay(self):
        with self.lock:
            now = time.monotonic()
            if now - self.read_at > 0.1:
                self.read_at = now
                try:
                    with open(self.delay_file) as f:
                        self.delay = float(f.read().strip() or 0)
                except (OSError, ValueError):
                    self.delay = 0.0
            return self.delay

    def _wait(self):
        # The wine server answers every Wine process on one thread: slowing it
        # would stop the test itself, not only the drive.
        pid = fuse_get_context()[2]
        try:
            with open("/proc/%d/comm" % pid) as f:
                if f.read().startswith("wineserver"):
                    return
        except OSError:
            pass
        delay = self._current_delay()
        if delay > 0:
            time.sleep(delay)

    def _call(self, function, *args, **keywords):
        try:
            return function(*args, **keywords)
        except OSError as error:
            raise FuseOSError(error.errno)

    def getattr(self, path, fh=None):
        if path == "/":
            self._wait()
        st = self._call(os.lstat, self._full(path))
        keys = ("st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size", "st_uid")
        return {key: getattr(st, key) for key in keys}

    def opendir(self, path):
        if os.path.basename(path) == LOCKED:
            raise FuseOSError(errno.EACCES)
        return 0

    def readdir(self, path, fh):
        self._wait()
        if os.path.basename(path) == LOCKED:
            raise FuseOSError(errno.EACCES)
        return [".", ".."] + self._call(os.listdir, self._full(path))

    def statfs(self, path):
        self._wait()
        st = self._call(os.statvfs, self._full(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
                "f_frsize", "f_namemax")
        return {key: getattr(st, key) for key in keys}

    def access(self, path, mode):
        self._call(os.lstat, self._full(path))

    def chmod(self, path, mode):
        return self._call(os.chmod, self._full(path), mode)

    def chown(self, path, uid, gid):
        return self._call(os.chown, self._full(path), uid, gid)

    def mkdir(self, path, mode):
        return self._call(os.mkdir, self._full(path), mode)

    def rmdir(self, path):
        return self._call(os.rmdir, self._full(path))

    def unlink(self, path):
        return self._call(os.unlink, self._full(path))

    def rename(self, old, new):
        return self._call(os.rename, self._full(old), self._full(new))

    def utimens(self, path, times=None):
        return self._call(os.utime, self._full(path), times)

    def truncate(self, path, length, fh=None):
        return self._call(os.truncate, self._full(path), length)

    def open(self, path, flags):
        return self._call(os.open, self._full(path), flags)

    def create(self, path, mode, fi=None):
        return self._call(os.open, self._full(path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def write(self, path, data, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.write(fh, data)

    def flush(self, path, fh):
        return 0

    def release(self, path, fh):
        return os.close(fh)

    def fsync(self, path, datasync, fh):
        return self._call(os.fsync, fh)

    # Wine keeps the hidden and system attributes in an extended attribute.
    def getxattr(self, path, name, position=0):
        try:
            return os.getxattr(self._full(path), name, follow_symlinks=False)
        except OSError as error:
            raise FuseOSError(errno.ENODATA if error.errno == errno.ENODATA else error.errno)

    def setxattr(self, path, name, value, options, position=0):
        return self._call(os.setxattr, self._full(path), name, value, options, follow_symlinks=False)

    def listxattr(self, path):
        return self._call(os.listxattr, self._full(path), follow_symlinks=False)

    def removexattr(self, path, name):
        return self._call(os.removexattr, self._full(path), name, follow_symlinks=False)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: slow-drive.py BACKING MOUNTPOINT DELAY_FILE")
    FUSE(SlowDrive(sys.argv[1], sys.argv[3]), sys.argv[2], foreground=True, nothreads=False)
