// Deterministic pseudo-random content for the profile tables: the same seed, table and row
// always give the same values, whatever order the rows are written in.
#pragma once
#include "profile_schema.h"
#include <cstdint>
#include <string>

struct Value {
    bool empty = false;
    std::string text;  // alpha columns
    double number = 0; // every other column (day numbers for dates, milliseconds for times)
};

class RowValues {
  public:
    RowValues(uint64_t seed, unsigned table, unsigned row, unsigned rows);
    Value Make(Content content);

  private:
    uint64_t Next();
    unsigned Below(unsigned n);
    std::string Digits(unsigned n);
    std::string DotOf(unsigned row) const;

    uint64_t seed_, state_;
    unsigned row_, rows_, place_;
};

// A permutation of 0..n-1 for the order rows are written in: keyed tables get split blocks
// and a chain out of physical order, as years of use leave them.
std::vector<unsigned> WriteOrder(uint64_t seed, unsigned table, unsigned rows);
