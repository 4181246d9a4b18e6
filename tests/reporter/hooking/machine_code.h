// Machine code placed in executable memory, so that a test decides a procedure's instructions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TMachineCode {
  public:
    explicit TMachineCode(const std::vector<std::uint8_t>& bytes);
    ~TMachineCode();
    TMachineCode(const TMachineCode&) = delete;
    TMachineCode& operator=(const TMachineCode&) = delete;

    std::uint8_t* Code() const { return code_; }
    template <class TProcedure> TProcedure As() const {
        return reinterpret_cast<TProcedure>(code_);
    }
    // The current bytes, to see what a patch changed.
    std::vector<std::uint8_t> Bytes() const { return {code_, code_ + size_}; }
    // Fills the rel32 field at `fieldOffset` so that the branch it ends leads to `target`.
    void SetRelative32(std::size_t fieldOffset, const void* target);

  private:
    std::uint8_t* code_;
    std::size_t size_;
};
