// The user tree.
#include "Users.h"

#include <algorithm>

namespace mirvex {
namespace {

TCustomUserUnit* FindIn(const TUserCategory& group, std::int32_t id) {
    for (int i = 0; i < group.ChildCount(); ++i) {
        TCustomUserUnit* child = group.Child(i);
        if (child->UserId == id) return child;
        if (child->IsCategory())
            if (TCustomUserUnit* hit = FindIn(static_cast<const TUserCategory&>(*child), id)) return hit;
    }
    return nullptr;
}

TUser* FindLoginIn(const TUserCategory& group, std::string_view name) {
    for (int i = 0; i < group.ChildCount(); ++i) {
        TCustomUserUnit* child = group.Child(i);
        if (child->IsCategory()) {
            if (TUser* hit = FindLoginIn(static_cast<const TUserCategory&>(*child), name)) return hit;
        } else if (child->Name == name) {
            return static_cast<TUser*>(child);
        }
    }
    return nullptr;
}

}  // namespace

void TCustomUserUnit::SetParent(TUserCategory* group) {
    if (!group || !m_parent) return;
    if (IsCategory() && static_cast<TUserCategory*>(this)->Contains(group)) return;
    group->Adopt(Detach());
}

std::unique_ptr<TCustomUserUnit> TCustomUserUnit::Detach() {
    if (!m_parent) return nullptr;
    auto& siblings = m_parent->m_children;
    const auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& p) { return p.get() == this; });
    std::unique_ptr<TCustomUserUnit> self = std::move(*it);
    siblings.erase(it);
    m_parent = nullptr;
    return self;
}

bool TCustomUserUnit::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadInt32(s, UserId) && Description.LoadFromStream(s) &&
           ReadString(s, Name);
}

bool TCustomUserUnit::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteInt32(s, UserId) && Description.SaveToStream(s) &&
           WriteString(s, Name);
}

bool TUser::LoadBody(TStream& s) { return TCustomUserUnit::LoadBody(s) && ReadString(s, Password); }

bool TUser::SaveBody(TStream& s) const { return TCustomUserUnit::SaveBody(s) && WriteString(s, Password); }

TCustomUserUnit* TUserCategory::Child(int index) const {
    return index >= 0 && index < ChildCount() ? m_children[static_cast<std::size_t>(index)].get() : nullptr;
}

TCustomUserUnit* TUserCategory::Adopt(std::unique_ptr<TCustomUserUnit> unit) {
    // A unit held by a unique_ptr is outside every tree: Detach clears the
    // parent of what it hands over, and fresh units have none.
    if (!unit) return nullptr;
    TCustomUserUnit* raw = unit.get();
    m_children.push_back(std::move(unit));
    raw->m_parent = this;
    raw->m_owner = m_owner;
    if (raw->m_owner && raw->UserId == -1) raw->UserId = ++raw->m_owner->LastId;
    return raw;
}

TUser* TUserCategory::AddUser() { return static_cast<TUser*>(Adopt(std::make_unique<TUser>())); }

TUserCategory* TUserCategory::AddCategory() {
    return static_cast<TUserCategory*>(Adopt(std::make_unique<TUserCategory>()));
}

bool TUserCategory::Contains(const TCustomUserUnit* unit) const {
    for (const TCustomUserUnit* p = unit; p; p = p->Parent())
        if (p == this) return true;
    return false;
}

bool TUserCategory::LoadBody(TStream& s) {
    m_children.clear();
    std::int32_t count = 0;
    // A child takes at least its kind byte and an 8-byte block.
    if (!TCustomUserUnit::LoadBody(s) || !ReadString(s, ChildLabel) || !ReadCount(s, count, 9)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint8_t kind = 0;
        if (!ReadByte(s, kind) || kind > 1) return false;
        std::unique_ptr<TCustomUserUnit> child;
        if (kind == 0) child = std::make_unique<TUser>();
        else child = std::make_unique<TUserCategory>();
        // Identifier 0 so that attaching does not consume one; the block
        // then overwrites it with the stored value.
        child->UserId = 0;
        if (!Adopt(std::move(child))->LoadFromStream(s)) return false;
    }
    return true;
}

bool TUserCategory::SaveBody(TStream& s) const {
    if (!TCustomUserUnit::SaveBody(s) || !WriteString(s, ChildLabel) || !WriteInt32(s, ChildCount())) return false;
    for (const auto& child : m_children)
        if (!WriteByte(s, child->IsCategory() ? 1 : 0) || !child->SaveToStream(s)) return false;
    return true;
}

TUsers::TUsers() {
    m_root.UserId = 1;
    m_root.m_owner = this;
}

TCustomUserUnit* TUsers::FindById(std::int32_t id) const { return FindIn(m_root, id); }

TUser* TUsers::FindByLoginName(std::string_view name) const { return FindLoginIn(m_root, name); }

bool TUsers::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadInt32(s, LastId) && m_root.LoadFromStream(s);
}

bool TUsers::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteInt32(s, LastId) && m_root.SaveToStream(s);
}

}  // namespace mirvex
