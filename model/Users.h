// The user list: a tree of groups and users under one root group.
//
// Ownership: a group owns its children; the list owns the root. A unit
// outside the tree is held by a unique_ptr until a group adopts it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CustomTanker.h"
#include "RTFText.h"

namespace mirvex {

class TUsers;
class TUserCategory;
class TUser;

class TCustomUserUnit : public TCustomTanker {
public:
    // -1 until the unit is attached to a group of a list; the root has 1.
    std::int32_t UserId = -1;
    TRTFText Description;
    // Display name; for users the login name.
    std::string Name;

    TUsers* Owner() const { return m_owner; }
    TUserCategory* Parent() const { return m_parent; }
    virtual bool IsCategory() const = 0;

    // Moves an attached unit to the end of `group`'s children. Ignored when
    // the group is absent, when the unit has no parent (adopt it instead),
    // or when the group is the unit itself or lies inside it.
    void SetParent(TUserCategory* group);
    // Takes the unit out of its parent's children and hands it over.
    std::unique_ptr<TCustomUserUnit> Detach();

    // Body after Version: int32 UserId, Description block, string Name.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    friend class TUserCategory;
    friend class TUsers;
    TUsers* m_owner = nullptr;
    TUserCategory* m_parent = nullptr;
};

class TUser : public TCustomUserUnit {
public:
    // Empty: no password is asked.
    std::string Password;

    bool IsCategory() const override { return false; }
    // Body after the unit body: string Password.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TUserCategory : public TCustomUserUnit {
public:
    // Caption of the choice among this group's children at login.
    std::string ChildLabel;

    bool IsCategory() const override { return true; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    // Null outside 0..ChildCount()-1.
    TCustomUserUnit* Child(int index) const;

    // Appends `unit` to the children: it takes this group's owner and, when
    // there is an owner and its UserId is -1, the owner's next identifier.
    TCustomUserUnit* Adopt(std::unique_ptr<TCustomUserUnit> unit);
    TUser* AddUser();
    TUserCategory* AddCategory();
    // True when `unit` is this group or lies somewhere inside it.
    bool Contains(const TCustomUserUnit* unit) const;

    // Body after the unit body: string ChildLabel, int32 child count, then
    // per child a kind byte (0 user, 1 group) and the child's block.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    friend class TCustomUserUnit;
    std::vector<std::unique_ptr<TCustomUserUnit>> m_children;
};

class TUsers : public TCustomTanker {
public:
    TUsers();

    // The last identifier given out; the root's is 1.
    std::int32_t LastId = 1;
    TUserCategory& Root() { return m_root; }
    const TUserCategory& Root() const { return m_root; }

    // Depth-first over the root's children in order; the root itself is
    // never returned.
    TCustomUserUnit* FindById(std::int32_t id) const;
    // Depth-first; users compare their Name exactly (case-sensitive).
    TUser* FindByLoginName(std::string_view name) const;

    // Body after Version: int32 LastId, the root block.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    TUserCategory m_root;
};

}  // namespace mirvex
