// The user tree: image, identifiers, lookups and damaged trees.
#include "model/Users.h"

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

TEST(UsersTest, EmptyListIsFiftyTwoBytes) {
    TUsers users;
    const TBytes expected = {52, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,     // size, version, LastId
                             40, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,     // root: size, version, UserId
                             16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // description
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};     // Name, ChildLabel, count
    EXPECT_EQ(SaveToBytes(users), expected);
}

TEST(UsersTest, TreeRoundTripKeepsEverything) {
    auto users = fixtures::SchoolUsers();
    EXPECT_EQ(users->LastId, 7);
    const TBytes image = SaveToBytes(*users);
    TUsers back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(SaveToBytes(back), image);
    EXPECT_EQ(back.LastId, 7);
    ASSERT_EQ(back.Root().ChildCount(), 2);
    const auto* grade10 = static_cast<TUserCategory*>(back.Root().Child(0));
    EXPECT_EQ(grade10->UserId, 2);
    EXPECT_EQ(grade10->ChildLabel, Cp1251("Подгруппа"));
    ASSERT_EQ(grade10->ChildCount(), 2);
    EXPECT_TRUE(grade10->Child(0)->IsCategory());
    EXPECT_FALSE(grade10->Child(1)->IsCategory());
    const auto* ivanov = static_cast<TUser*>(static_cast<TUserCategory*>(grade10->Child(0))->Child(0));
    EXPECT_EQ(ivanov->UserId, 4);
    EXPECT_EQ(ivanov->Password, "secret");
    EXPECT_EQ(ivanov->Owner(), &back);
    EXPECT_EQ(ivanov->Parent(), grade10->Child(0));
}

TEST(UsersTest, NewUserInALoadedTreeTakesTheNextIdentifier) {
    TUsers users;
    ASSERT_TRUE(LoadFromBytes(users, SaveToBytes(*fixtures::SchoolUsers())));
    TUser* added = static_cast<TUserCategory*>(users.Root().Child(1))->AddUser();
    EXPECT_EQ(added->UserId, 8);
    EXPECT_EQ(users.LastId, 8);
    // A unit that already has an identifier keeps it.
    auto kept = std::make_unique<TUser>();
    kept->UserId = 100;
    users.Root().Adopt(std::move(kept));
    EXPECT_EQ(users.LastId, 8);
    EXPECT_EQ(users.FindById(100)->Parent(), &users.Root());
}

TEST(UsersTest, FindById) {
    auto users = fixtures::SchoolUsers();
    EXPECT_EQ(users->FindById(1), nullptr);  // the root is never a candidate
    EXPECT_EQ(users->FindById(4)->Name, Cp1251("Иванов"));
    EXPECT_EQ(users->FindById(6)->Name, Cp1251("11 класс"));
    EXPECT_EQ(users->FindById(99), nullptr);
    // Duplicated identifiers: whichever comes first depth-first.
    static_cast<TUserCategory*>(users->Root().Child(1))->Child(0)->UserId = 3;
    EXPECT_EQ(users->FindById(3)->Name, "A");
}

TEST(UsersTest, FindByLoginNameIsExactAndDepthFirst) {
    auto users = fixtures::SchoolUsers();
    ASSERT_NE(users->FindByLoginName(Cp1251("Сидорова")), nullptr);
    EXPECT_EQ(users->FindByLoginName(Cp1251("Сидорова"))->UserId, 7);
    EXPECT_EQ(users->FindByLoginName(Cp1251("сидорова")), nullptr);
    EXPECT_EQ(users->FindByLoginName(Cp1251("10 класс")), nullptr);  // groups are not users
    TUser* twin = users->Root().AddUser();
    twin->Name = Cp1251("Иванов");
    EXPECT_EQ(users->FindByLoginName(Cp1251("Иванов"))->UserId, 4);
}

TEST(UsersTest, SetParentMovesAndRefusesCycles) {
    auto users = fixtures::SchoolUsers();
    auto* grade10 = static_cast<TUserCategory*>(users->Root().Child(0));
    auto* grade11 = static_cast<TUserCategory*>(users->Root().Child(1));
    TCustomUserUnit* petrov = grade10->Child(1);
    petrov->SetParent(grade11);
    EXPECT_EQ(petrov->Parent(), grade11);
    EXPECT_EQ(grade10->ChildCount(), 1);
    EXPECT_EQ(grade11->Child(1), petrov);
    EXPECT_EQ(petrov->UserId, 5);  // moving does not renumber

    grade10->SetParent(static_cast<TUserCategory*>(grade10->Child(0)));  // into its own subgroup
    grade10->SetParent(grade10);
    EXPECT_EQ(grade10->Parent(), &users->Root());
    petrov->SetParent(nullptr);
    EXPECT_EQ(petrov->Parent(), grade11);

    auto detached = petrov->Detach();
    EXPECT_EQ(grade11->ChildCount(), 1);
    EXPECT_EQ(detached->Parent(), nullptr);
    detached->SetParent(grade10);  // a detached unit is adopted, not moved
    EXPECT_EQ(detached->Parent(), nullptr);
}

TEST(UsersTest, CopyIsIndependent) {
    auto users = fixtures::SchoolUsers();
    TUsers copy;
    ASSERT_TRUE(copy.CopyFrom(*users));
    users->FindById(4)->Name = "changed";
    EXPECT_EQ(copy.FindById(4)->Name, Cp1251("Иванов"));
    EXPECT_EQ(copy.FindById(4)->Owner(), &copy);
}

TEST(UsersTest, BadChildKindFails) {
    TBytes image = SaveToBytes(*fixtures::SchoolUsers());
    // The first kind byte follows the root's child count; the root has an
    // empty name and the label "Класс" (5 bytes).
    const std::size_t kindAt = 12 + 8 + 4 + 16 + 4 + 4 + 5 + 4;
    ASSERT_EQ(image[kindAt], 1);
    image[kindAt] = 2;
    TUsers back;
    EXPECT_FALSE(LoadFromBytes(back, image));
}

TEST(UsersTest, DeepNestingIsRefused) {
    // A crafted chain of groups, each the only child of the previous one.
    TUsers users;
    TUserCategory* group = &users.Root();
    for (int i = 0; i < kMaxBlockNesting + 10; ++i) group = group->AddCategory();
    const TBytes image = SaveToBytes(users);
    TUsers back;
    EXPECT_FALSE(LoadFromBytes(back, image));

    TUsers shallow;
    group = &shallow.Root();
    for (int i = 0; i < 50; ++i) group = group->AddCategory();
    EXPECT_TRUE(LoadFromBytes(back, SaveToBytes(shallow)));
}

}  // namespace
}  // namespace mirvex
