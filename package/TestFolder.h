// Tests in a folder tree: folders and test files, the form in which a test
// is offered for choosing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/CustomTanker.h"
#include "model/RTFText.h"

namespace mirvex {

class TCustomFolderNode : public TCustomTanker {
public:
    std::string Name;

    virtual bool IsFolder() const = 0;
    // Copies Name (and, in subclasses, their own content).
    virtual void Assign(const TCustomFolderNode& source);

    // Body after Version: string Name.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TTestFile : public TCustomFolderNode {
public:
    // Name: the package's file name without folder.
    std::string TestId;
    // Code page 1251, as every record text.
    std::string PackagePath;
    TRTFText Description;
    // The icon picture's bytes, without its name.
    TBytes Icon;

    bool IsFolder() const override { return false; }
    void Assign(const TCustomFolderNode& source) override;
    void Clear();
    // Fills the node from the package at `path` (a native path): identity,
    // path, icon, description and file name. The previous content goes first.
    bool LoadFromPackage(const std::string& path);

    // Body after the node body: string TestId, string PackagePath,
    // Description block, int32 M, M bytes of Icon.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TTestFolder : public TCustomFolderNode {
public:
    bool IsFolder() const override { return true; }
    int Count() const { return static_cast<int>(m_children.size()); }
    TCustomFolderNode* Child(int index) const;
    TTestFolder* AddFolder();
    TTestFile* AddFile();
    void Clear() { m_children.clear(); }
    // Clears, copies Name and, from a folder, a copy of each child.
    void Assign(const TCustomFolderNode& source) override;

    // Body after the node body: int32 count, then per child a kind byte
    // (0 folder, 1 test file) and the child's block.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    std::vector<std::unique_ptr<TCustomFolderNode>> m_children;
};

}  // namespace mirvex
