// libFuzzer target for the model-file reader. Whatever the bytes, reading them must either
// refuse the file and leave no project, or give a consistent model that saves back to the
// very same bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/model_file.h"

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

// The input goes into one file in memory, reused for every run.
struct InputFile {
    int fd = ::memfd_create("wirtor-fuzz", MFD_CLOEXEC);
    std::string path = "/proc/self/fd/" + std::to_string(fd);
};

const InputFile& input() {
    static const InputFile file;
    require(file.fd >= 0);
    return file;
}

// Saved models go to a directory in memory where there is one: a save syncs its file.
const std::string& saveDir() {
    static const std::string dir = [] {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string t = std::string(base) + "/wirtor-fuzz-XXXXXX";
            if (::mkdtemp(t.data())) return t;
        }
        std::abort();
    }();
    return dir;
}

void removeSaveDir() {
    ::unlink((saveDir() + "/m.WT").c_str());
    ::rmdir(saveDir().c_str());
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    require(f != nullptr);
    std::uint8_t buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    saveDir();
    std::atexit(removeSaveDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const InputFile& in = input();
    require(::ftruncate(in.fd, 0) == 0 &&
            ::pwrite(in.fd, data, size, 0) == static_cast<ssize_t>(size));

    Model m;
    const FileOutcome r = readModelFile(in.path, m);
    if (!r.ok()) {
        require(m.Pusty == 1 && !m.x.allocated() && !m.noc.allocated() && !m.si.allocated());
        return 0;
    }
    require(m.Pusty == 0 && m.obliczono == 0 && modelConsistent(m));
    const std::string saved = saveDir() + "/m.WT";
    require(writeModelFile(saved, m).ok());
    require(fileBytes(saved) == std::vector<std::uint8_t>(data, data + size));
    return 0;
}
