#include "input.h"

#include <chrono>
#include <filesystem>

#include "geometry/section_file.h"
#include "io/dxf_import.h"
#include "mesh/section_mesh.h"
#include "model/model_file.h"

namespace {

std::string extension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

/// The drawing at `path` as a section of one shape, or the importer's message.
geometry::SectionRead readDrawing(const std::string& path) {
    geometry::SectionRead out;
    io::DxfImport read = io::importDxf(path);
    if (!read.ok()) {
        out.error = read.error.empty() ? "Przerwano" : read.error;
        return out;
    }
    geometry::Shape shape;
    shape.kind = geometry::Shape::Kind::Rysunek;
    shape.drawing.path = path;
    shape.drawing.outlines = std::move(read.outlines);
    out.section.shapes.push_back(std::move(shape));
    return out;
}

}  // namespace

bool isSectionFile(const std::string& path) {
    return extension(path) == ".wts";
}

bool isDrawingFile(const std::string& path) {
    return extension(path) == ".dxf";
}

InputRead readInput(const std::string& path, Model& m) {
    const bool drawing = isDrawingFile(path);
    if (!drawing && !isSectionFile(path)) {
        const FileOutcome read = readModelFile(path, m);
        return {read.ok() ? "" : read.message};
    }
    const auto imported = std::chrono::steady_clock::now();
    const geometry::SectionRead read =
        drawing ? readDrawing(path) : geometry::readSectionFile(path);
    if (!read.ok()) return {read.error, read.line};
    const double importSeconds =
        drawing ? std::chrono::duration<double>(std::chrono::steady_clock::now() - imported).count()
                : -1;
    newProject(m);
    const auto start = std::chrono::steady_clock::now();
    const MeshOutcome mesh = meshSection(read.section, m);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!mesh.ok()) return {mesh.message.empty() ? "Błąd siatkowania" : mesh.message, mesh.line};
    return {"", 0, seconds, importSeconds};
}
