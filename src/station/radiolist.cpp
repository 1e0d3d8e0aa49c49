#include "radiolist.h"

#include "config/inifile.h"

#include <filesystem>

namespace vellum {

namespace fs = std::filesystem;

void TRadioList::Load(std::vector<std::string> &problems)
{
    m_entries.clear();
    m_deleted.clear();
    std::error_code error;
    for (const fs::directory_entry &file : fs::directory_iterator(m_directory, error)) {
        std::string extension = file.path().extension().string();
        if (!file.is_regular_file() || (extension != ".rig" && extension != ".RIG"))
            continue;
        TIniFile ini(file.path().string());
        std::vector<std::string> found;
        TRadioDefinition definition = ReadRadioDefinition(ini, found);
        for (const std::string &problem : found)
            problems.push_back(file.path().filename().string() + ": " + problem);
        if (definition.model.empty())
            definition.model = file.path().stem().string();
        m_entries[definition.model] = {definition, false};
    }
}

std::vector<std::string> TRadioList::Names() const
{
    std::vector<std::string> names;
    for (const auto &[name, entry] : m_entries)
        names.push_back(name);
    return names;
}

const TRadioDefinition *TRadioList::Find(const std::string &model) const
{
    auto found = m_entries.find(model);
    return found == m_entries.end() ? nullptr : &found->second.definition;
}

bool TRadioList::Changed(const std::string &model) const
{
    auto found = m_entries.find(model);
    return found != m_entries.end() && found->second.changed;
}

bool TRadioList::Put(const TRadioDefinition &definition)
{
    if (!RadioFileName(definition.model))
        return false;
    m_entries[definition.model] = {definition, true};
    m_deleted.erase(definition.model);
    return true;
}

void TRadioList::Delete(const std::string &model)
{
    if (m_entries.erase(model) > 0)
        m_deleted.insert(model);
}

void TRadioList::Save(bool keepGeneration)
{
    for (const std::string &model : m_deleted)
        if (std::optional<std::string> name = RadioFileName(model)) {
            std::error_code error;
            fs::remove(fs::path(m_directory) / *name, error);
        }
    m_deleted.clear();
    for (auto &[model, entry] : m_entries) {
        if (!entry.changed)
            continue;
        TIniFile ini((fs::path(m_directory) / *RadioFileName(model)).string(),
                     keepGeneration ? KeepGeneration::Yes : KeepGeneration::No);
        ini.LoadText(""); // written from scratch
        WriteRadioDefinition(ini, entry.definition);
        ini.UpdateFile();
        entry.changed = false;
    }
}

} // namespace vellum
