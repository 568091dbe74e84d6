#include "fuzz_input_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::string asFile(const uint8_t* data, size_t size) {
    static int fd = [] {
        int made = memfd_create("celestrix-fuzz", MFD_CLOEXEC);
        if (made < 0) std::abort();
        return made;
    }();
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

namespace {

// Prefers memory-backed /dev/shm, so that the many small writes of a fuzzing run stay off the disk.
struct ScratchDirectory {
    std::string path;
    ScratchDirectory() {
        const char* base = fs::is_directory("/dev/shm") ? "/dev/shm" : P_tmpdir;
        std::string pattern = std::string(base) + "/celestrix-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern + "/";
    }
    ~ScratchDirectory() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

}  // namespace

const std::string& scratchDirectory() {
    static ScratchDirectory dir;
    return dir.path;
}

void putFile(const std::string& path, const uint8_t* data, size_t size) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (size > 0) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) std::abort();
}
