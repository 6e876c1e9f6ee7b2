#include "input.h"

#include <chrono>
#include <filesystem>

#include "geometry/section_file.h"
#include "mesh/section_mesh.h"
#include "model/model_file.h"

bool isSectionFile(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".wts";
}

InputRead readInput(const std::string& path, Model& m) {
    if (!isSectionFile(path)) {
        const FileOutcome read = readModelFile(path, m);
        return {read.ok() ? "" : read.message};
    }
    const geometry::SectionRead read = geometry::readSectionFile(path);
    if (!read.ok()) return {read.error, read.line};
    newProject(m);
    const auto start = std::chrono::steady_clock::now();
    const MeshOutcome mesh = meshSection(read.section, m);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!mesh.ok()) return {mesh.message.empty() ? "Błąd siatkowania" : mesh.message, mesh.line};
    return {"", 0, seconds};
}
