#include "reporter/core/interception/hooking/virtual_method_hooks.h"
#include <gtest/gtest.h>

// Outside the anonymous namespace: there the compiler would know every class derived from it
// and call Sides directly instead of through the table.
class TShape {
  public:
    virtual int Sides() const { return 4; }
    virtual ~TShape() = default;
};

namespace {

constexpr int kSidesSlot = 0;

[[gnu::noipa]] int SidesOf(const TShape& shape) {
    return shape.Sides();
}

// A method without stack arguments receives `this` in ECX, like a fastcall function.
int __attribute__((fastcall)) Triangle(const TShape*) {
    return 3;
}

void** VirtualTableOf(const TShape& shape) {
    return *reinterpret_cast<void** const*>(&shape);
}

void* TriangleAddress() {
    return reinterpret_cast<void*>(Triangle);
}

TEST(HookVirtualMethod, SlotCallsGoToTheNewMethodUntilUnhooked) {
    const TShape shape;
    void** table = VirtualTableOf(shape);
    void* const original = table[kSidesSlot];

    EXPECT_EQ(HookVirtualMethod(table, kSidesSlot, TriangleAddress()), original);
    EXPECT_EQ(SidesOf(shape), 3);
    EXPECT_EQ(SidesOf(TShape()), 3);
    EXPECT_EQ(HookVirtualMethod(table, kSidesSlot, TriangleAddress()), original);

    EXPECT_TRUE(UnhookVirtualMethod(table, kSidesSlot));
    EXPECT_EQ(table[kSidesSlot], original);
    EXPECT_EQ(SidesOf(shape), 4);
    EXPECT_FALSE(UnhookVirtualMethod(table, kSidesSlot));
}

TEST(HookVirtualMethod, TableOutsideEveryModuleIsLeftAlone) {
    void* original = &original;
    std::vector<void*> table{original};
    EXPECT_EQ(HookVirtualMethod(table.data(), 0, TriangleAddress()), nullptr);
    EXPECT_EQ(table[0], original);
    EXPECT_FALSE(UnhookVirtualMethod(table.data(), 0));
}

} // namespace
