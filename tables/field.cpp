#include "tables/field.h"
#include <cstring>

TField::TField(const FLDDesc& desc)
    : fieldName_(desc.szName, strnlen(desc.szName, sizeof desc.szName)), fieldNo_(desc.iFldNum),
      dataType_(desc.iFldType), subType_(desc.iSubType), size_(desc.iUnits1) {}
