#pragma once
// Scratch directories and raw file contents for the file tests.

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model.h"

namespace wirtor_test {

using Bytes = std::vector<unsigned char>;

/// A fresh directory removed with everything in it when the test ends.
class ScratchDir {
  public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("wirtor-") + (info ? info->name() : "test") + "-" +
                           std::to_string(::getpid());
        for (char& c : name)
            if (c == '/') c = '_';
        dir_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
};

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

/// Appends a 32-bit word little-endian, whatever the host's order.
inline void putWord(Bytes& b, std::uint32_t w) {
    for (int k = 0; k < 4; ++k)
        b.push_back(static_cast<unsigned char>(w >> (8 * k)));
}
inline void putInt(Bytes& b, std::int32_t v) {
    putWord(b, static_cast<std::uint32_t>(v));
}
inline void putFloat(Bytes& b, float v) {
    std::uint32_t w;
    std::memcpy(&w, &v, 4);
    putWord(b, w);
}

/// A project with the given nodes (x, y, si) and elements, in the state a command leaves it.
struct NodeData {
    float x, y, si;
};
struct ElementData {
    int a, b, c;
};
inline void fillModel(Model& m, const std::vector<NodeData>& nodes,
                      const std::vector<ElementData>& elements, float G = 80000.0f,
                      float MS = 1.0f) {
    allocateModel(m, static_cast<int>(nodes.size()), static_cast<int>(elements.size()));
    m.Pusty = 0;
    m.G = G;
    m.MS = MS;
    for (int i = 1; i <= m.nn; ++i) {
        m.x[i][1] = nodes[i - 1].x;
        m.x[i][2] = nodes[i - 1].y;
        m.si[i] = nodes[i - 1].si;
    }
    for (int e = 1; e <= m.ne; ++e) {
        m.noc[e][1] = elements[e - 1].a;
        m.noc[e][2] = elements[e - 1].b;
        m.noc[e][3] = elements[e - 1].c;
    }
}

}  // namespace wirtor_test
