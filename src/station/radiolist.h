#pragma once
// The radio definitions of the RADIOS directory as the definition editor keeps
// them: sorted by model, each with a changed flag, deleted names remembered
// until the list is saved.

#include "radiodefinition.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace vellum {

class TRadioList {
public:
    explicit TRadioList(std::string directory) : m_directory(std::move(directory)) {}

    /// Reads every "*.rig" file; the problems of each are reported with its name
    /// (the definition is still listed, so that it can be mended).
    void Load(std::vector<std::string> &problems);
    std::vector<std::string> Names() const;
    const TRadioDefinition *Find(const std::string &model) const;
    bool Changed(const std::string &model) const;
    /// Adds a definition or replaces the one of its model; false when the model names no file.
    bool Put(const TRadioDefinition &definition);
    void Delete(const std::string &model);
    /// Deletes the files of deleted names, then writes every changed definition from
    /// scratch (keeping the previous file as "*.~ig" when keepGeneration); throws EFileError.
    void Save(bool keepGeneration);

private:
    struct Entry {
        TRadioDefinition definition;
        bool changed = false;
    };
    std::string m_directory;
    std::map<std::string, Entry> m_entries;
    std::set<std::string> m_deleted;
};

} // namespace vellum
