#include "column_desc.h"
#include <cstring>

FLDDesc ColumnDesc(const char* name, uint16_t type, int16_t size) {
    FLDDesc desc{};
    std::strncpy(desc.szName, name, sizeof desc.szName - 1);
    desc.iFldType = type;
    desc.iUnits1 = size;
    return desc;
}
