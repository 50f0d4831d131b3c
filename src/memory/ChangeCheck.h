#pragma once
#include <set>
#include <string>
#include <vector>

#include "memory/MemoryReader.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// Whether a make or delete that got no answer happened after all, told from
// the list it changes as read back from the scanner.
//
// A make (CSY, AGC/AGT, ACC/ACT) adds a record to its owner's list: the
// systems, a system's groups and sites, a group's members. A record of that
// list whose index is not among those the writer knows to be there is one
// the make made (more than one: the make was done twice). A delete (DSY,
// DGR, DCH) happened when its index is no longer in the memory read.
struct ChangeCheck {
    std::string command;  // the make or delete, as sent
    std::string word;     // its word: "ACC"
    std::string index;    // its field: the owner of a make ("" for CSY), the record of a delete
    bool makes = false;
    ReadScope scope;      // what to read to see the list
};

// The check of a make or delete; `system` and `group` are the indexes of the
// system and group the changed record lies in, where known ("" otherwise:
// the whole memory is read).
ChangeCheck CheckOf(const std::string& command, const std::string& system, const std::string& group);

// The indexes a make added: those of its owner's list (as read) not in
// `present`, in list order. Empty when the owner is not in the memory read.
std::vector<std::string> MadeRecords(const ChangeCheck& check, const ScannerMemory& read,
                                     const std::set<std::string>& present);

// Whether any record of the memory read has the index.
bool HoldsIndex(const ScannerMemory& read, const std::string& index);

// Every index of a memory: systems, groups, sites and members.
std::set<std::string> IndexesOf(const ScannerMemory& memory);

}  // namespace quorvane
