// JSON images of a test package and of a statistics file for
// `mirvex-build dump FILE`.
#pragma once

#include <string>

#include "package/ZipArchive.h"
#include "util/JsonWriter.h"

namespace mirvex::json {

// Writes the package at `path`: archive entries, catalogue, INI sections,
// settings, every question and the pictures.
void WritePackage(TJsonWriter& w, const std::string& path, const TZipArchive& archive);
// Writes every record of the statistics file at `path`.
void WriteStatistics(TJsonWriter& w, const std::string& path);

}  // namespace mirvex::json
