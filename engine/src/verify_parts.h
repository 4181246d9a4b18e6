// The pieces the table check is made of, shared by the checks of tables and of indexes.
#pragma once
#include "status.h"
#include "table_header.h"
#include "verify_table.h"
#include <functional>
#include <map>
#include <vector>

namespace pdx {

// Collects findings, each under the name of the file it concerns. A damaged file can yield one
// finding per record: past a few per file they are counted instead of listed.
class Findings {
  public:
    explicit Findings(const FindingSink& sink) : sink_(sink) {}
    void Report(Finding kind, const std::string& file, const std::string& text);
    void Problem(const std::string& file, const std::string& text) {
        Report(Finding::Problem, file, text);
    }
    void Note(const std::string& file, const std::string& text) {
        Report(Finding::Note, file, text);
    }
    void NotUnderstood(const std::string& file, const std::string& text) {
        Report(Finding::NotUnderstood, file, text);
    }
    // Reports what was counted but not listed; returns the number of problems.
    unsigned Finish();

  private:
    const FindingSink& sink_;
    unsigned problems_ = 0;
    std::map<std::string, unsigned> listed_, unlisted_;
};

std::string BaseName(const std::string& path);
// What went wrong, without the file name that the finding carries anyway.
std::string WhatOf(const EngineError& err);

// Reads the header of a family file; damage is reported (under kind) instead of thrown, a
// version the engine does not know as not understood.
bool ReadFamilyHeader(const File& file, TableHeader& out, Findings& findings, Finding kind);

// A copied stamp must equal its source; engine-written families often carry the source + 19.
void CheckStamp(Findings& findings, Finding kind, const std::string& file, const std::string& what,
                uint8_t stamp, uint8_t source);

struct ChainBlock {
    unsigned block;
    unsigned count;
    std::vector<uint8_t> firstKey;
};

struct ChainWalk {
    std::vector<ChainBlock> blocks; // in chain order; keys are the first keySize bytes
    std::vector<bool> inChain;      // by block number
    bool complete = false;          // the walk reached the end of the chain
};

using RecordVisitor = std::function<void(unsigned block, const uint8_t* records, unsigned count)>;

// Walks the block chain of a data file (.DB or .Xnn) and compares it with the header's counts.
ChainWalk WalkChain(const File& file, const TableHeader& h, unsigned keySize, Findings& findings,
                    Finding kind, const RecordVisitor& visit = {});

// Checks an index tree (.PX of a .DB, .Ynn of an .Xnn): its levels, counts and keys, and its
// leaf entries against the blocks of the indexed file.
void CheckIndexTree(const File& index, const TableHeader& ih, const ChainWalk& indexed,
                    unsigned keySize, Findings& findings, Finding kind);

// Checks a secondary index (.Xnn/.XGn with its tree) against the table.
void CheckSecondaryIndex(const std::string& xPath, const File& table, const TableHeader& h,
                         const ChainWalk& chain, Findings& findings);

} // namespace pdx
