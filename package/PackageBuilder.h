// Writes a whole new test package: catalogue, settings, questions and
// pictures, in the layout TZipTest reads.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "ZipTest.h"

namespace mirvex {

class TPackageBuilder {
public:
    TTestSettings Settings;

    // Values of the "Values" section.
    void SetIdentity(const std::string& guidText) { m_values["SAVE_GUID"] = guidText; }
    void SetProtection(const std::string& protection) { m_values["Protection"] = protection; }
    void AddCategory(std::int32_t id, const std::string& name);
    void AddTicket(std::int32_t id, const std::string& name);
    // The question is stored under info.EntryName, which also names its
    // catalogue section.
    void AddQuestion(const TFullQuestionInfo& info, const TTestQuestion& question);
    // kind 1 icon, 2 user picture, 3 background.
    void SetPicture(int kind, const std::string& fileName, const TBytes& data);
    // Without "Settings.bin" (a package read only without settings).
    bool WithSettings = true;

    // The catalogue text as it will be stored.
    std::string CatalogueText() const;
    // Writes the package at `path` (replacing a file there atomically).
    TZipStatus Write(const std::string& path, const TZipSignatures& signatures = ZipSignatures()) const;

private:
    struct Question {
        TFullQuestionInfo Info;
        TBytes Image;
    };
    std::vector<Question> m_questions;
    std::vector<std::pair<std::int32_t, std::string>> m_categories;
    std::vector<std::pair<std::int32_t, std::string>> m_tickets;
    std::map<std::string, std::string> m_values;
    std::map<int, TBytes> m_pictures;
};

}  // namespace mirvex
