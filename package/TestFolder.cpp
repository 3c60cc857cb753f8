// Folder tree nodes.
#include "TestFolder.h"

#include "ZipTest.h"
#include "util/Cp1251.h"

namespace mirvex {

void TCustomFolderNode::Assign(const TCustomFolderNode& source) { Name = source.Name; }

bool TCustomFolderNode::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, Name); }

bool TCustomFolderNode::SaveBody(TStream& s) const { return TCustomTanker::SaveBody(s) && WriteString(s, Name); }

void TTestFile::Assign(const TCustomFolderNode& source) {
    TCustomFolderNode::Assign(source);
    if (source.IsFolder()) return;
    const auto& file = static_cast<const TTestFile&>(source);
    TestId = file.TestId;
    PackagePath = file.PackagePath;
    Description.Assign(file.Description);
    Icon = file.Icon;
}

void TTestFile::Clear() {
    Name.clear();
    TestId.clear();
    PackagePath.clear();
    Description.Clear();
    Icon.clear();
}

bool TTestFile::LoadFromPackage(const std::string& path) {
    Clear();
    TZipTest package;
    const bool ok = package.Open(path, "", true);
    if (ok) {
        TestId = package.TestIdentity();
        PackagePath = Utf8ToCp1251(path);
        std::string iconName;
        TMemoryStream icon;
        if (package.Picture(1, iconName, icon)) Icon = icon.TakeBytes();
        Description.Assign(package.Settings().Description);
        const std::size_t slash = path.rfind('/');
        Name = Utf8ToCp1251(slash == std::string::npos ? path : path.substr(slash + 1));
    }
    package.Close(false);
    return ok;
}

bool TTestFile::LoadBody(TStream& s) {
    return TCustomFolderNode::LoadBody(s) && ReadString(s, TestId) && ReadString(s, PackagePath) &&
           Description.LoadFromStream(s) && ReadBytes(s, Icon);
}

bool TTestFile::SaveBody(TStream& s) const {
    return TCustomFolderNode::SaveBody(s) && WriteString(s, TestId) && WriteString(s, PackagePath) &&
           Description.SaveToStream(s) && WriteBytes(s, Icon);
}

TCustomFolderNode* TTestFolder::Child(int index) const {
    return index >= 0 && index < Count() ? m_children[static_cast<std::size_t>(index)].get() : nullptr;
}

TTestFolder* TTestFolder::AddFolder() {
    m_children.push_back(std::make_unique<TTestFolder>());
    return static_cast<TTestFolder*>(m_children.back().get());
}

TTestFile* TTestFolder::AddFile() {
    m_children.push_back(std::make_unique<TTestFile>());
    return static_cast<TTestFile*>(m_children.back().get());
}

void TTestFolder::Assign(const TCustomFolderNode& source) {
    if (&source == this) return;
    Clear();
    TCustomFolderNode::Assign(source);
    if (!source.IsFolder()) return;
    const auto& folder = static_cast<const TTestFolder&>(source);
    for (const auto& child : folder.m_children) {
        TCustomFolderNode* copy = child->IsFolder() ? static_cast<TCustomFolderNode*>(AddFolder()) : AddFile();
        copy->Assign(*child);
    }
}

bool TTestFolder::LoadBody(TStream& s) {
    Clear();
    std::int32_t count = 0;
    if (!TCustomFolderNode::LoadBody(s) || !ReadCount(s, count, 9)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint8_t kind = 0;
        if (!ReadByte(s, kind) || kind > 1) return false;
        TCustomFolderNode* child = kind == 0 ? static_cast<TCustomFolderNode*>(AddFolder()) : AddFile();
        if (!child->LoadFromStream(s)) return false;
    }
    return true;
}

bool TTestFolder::SaveBody(TStream& s) const {
    if (!TCustomFolderNode::SaveBody(s) || !WriteInt32(s, Count())) return false;
    for (const auto& child : m_children)
        if (!WriteByte(s, child->IsFolder() ? 0 : 1) || !child->SaveToStream(s)) return false;
    return true;
}

}  // namespace mirvex
