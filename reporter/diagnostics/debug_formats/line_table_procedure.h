// The procedure in force while a unit of a module's own line table is decoded, and how far a
// line lies from its start.
#pragma once
#include <cstdint>
#include <string>

class TLineTableProcedure {
  public:
    // A record opened the procedure `name` on `line` at code offset `offset`. A name starting
    // with "." continues the class of the procedure before; otherwise "Class.Procedure".
    void Open(const std::string& name, uint32_t line, uint32_t offset);

    const std::string& ClassName() const { return className_; }
    const std::string& Name() const { return name_; }
    // Lines from the procedure's start to `line`, never below 0; 0 when no procedure is open.
    // Code that does not begin by building a stack frame (55 8B EC) or saving EBX (53) starts
    // a line earlier, except the unit initialisation; the finalisation always does.
    int32_t LinesTo(uint32_t line, uintptr_t codeStart) const;

  private:
    std::string className_;
    std::string name_;
    uint32_t startLine_ = 0;
    uint32_t startOffset_ = 0;
    bool open_ = false;
};
