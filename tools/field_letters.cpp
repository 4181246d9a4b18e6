#include "field_letters.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Sized { No, Units1, Units2 }; // where a size given with the letter goes

struct Letter {
    char letter;
    uint16_t type;
    uint16_t subtype;
    int16_t units1; // for letters without a size of their own
    Sized sized;
};

const Letter kLetters[] = {
    {'A', fldZSTRING, 0, 0, Sized::Units1},
    {'S', fldINT16, 0, 3, Sized::No},
    {'I', fldINT32, 0, 0, Sized::No},
    {'+', fldINT32, fldstAUTOINC, 0, Sized::No},
    {'D', fldDATE, 0, 0, Sized::No},
    {'N', fldFLOAT, 0, 0, Sized::No},
    {'$', fldFLOAT, fldstMONEY, 0, Sized::No},
    {'L', fldBOOL, 0, 0, Sized::No},
    {'T', fldTIME, 0, 0, Sized::No},
    {'@', fldTIMESTAMP, 0, 0, Sized::No},
    {'#', fldBCD, 0, 32, Sized::Units2},
    {'Y', fldBYTES, 0, 0, Sized::Units1},
    {'M', fldBLOB, fldstMEMO, 0, Sized::Units1},
    {'B', fldBLOB, fldstBINARY, 0, Sized::Units1},
    {'F', fldBLOB, fldstFMTMEMO, 0, Sized::Units1},
    {'O', fldBLOB, fldstOLEOBJ, 0, Sized::Units1},
    {'G', fldBLOB, fldstGRAPHIC, 0, Sized::Units1},
};

const Letter* ByLetter(char letter) {
    for (const auto& l : kLetters)
        if (l.letter == letter)
            return &l;
    return nullptr;
}

FLDDesc Describe(const char* name, const Letter& l, int size) {
    FLDDesc d{};
    std::strncpy(d.szName, name, DBIMAXNAMELEN);
    d.iFldType = l.type;
    d.iSubType = l.subtype;
    d.iUnits1 = l.sized == Sized::Units1 ? int16_t(size) : l.units1;
    d.iUnits2 = l.sized == Sized::Units2 ? int16_t(size) : 0;
    return d;
}

} // namespace

FLDDesc DescriptorFor(const char* name, char letter, int size) {
    const Letter* l = ByLetter(letter);
    if (!l || l->type == fldBLOB) {
        std::fprintf(stderr, "unknown field type %c\n", letter);
        std::exit(2);
    }
    return Describe(name, *l, size);
}

FLDDesc MemoDescriptor(const char* name, int leader) {
    return Describe(name, *ByLetter('M'), leader);
}

namespace {

const Letter* ByType(const FLDDesc& d) {
    for (const auto& l : kLetters)
        if (l.type == d.iFldType && l.subtype == d.iSubType)
            return &l;
    for (const auto& l : kLetters) // a subtype this list does not know
        if (l.type == d.iFldType && l.subtype == 0)
            return &l;
    return nullptr;
}

} // namespace

char TypeLetter(const FLDDesc& d) {
    const Letter* l = ByType(d);
    return l ? l->letter : '?';
}

int ShownSize(const FLDDesc& d) {
    const Letter* l = ByType(d);
    if (l && l->sized == Sized::Units1)
        return d.iUnits1;
    if (l && l->sized == Sized::Units2)
        return d.iUnits2;
    return d.iLen;
}
