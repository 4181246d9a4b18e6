// Mangled procedure names of TD32 data made readable.
#pragma once
#include <string>

// "@Unit1@TForm1@Click$qqrp7TObject" in unit "Unit1" reads "TForm1.Click": the "@" dropped,
// the argument code from "$" cut (with an "@" just before it), "@" read as "." and ".." as
// ".@", and the leading unit name (without regard to case) with its "." removed. Other names
// are returned as they are.
std::string ReadableProcedureName(const std::string& name, const std::string& unitName);
