#include "programcontext.h"

#include "awards/awardmodel.h"
#include "awards/customaward.h"
#include "awards/customawardfile.h"
#include "config/configsettings.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"

namespace vellum {

ProgramContext::ProgramContext(TConfigRecord &config, TCountryData &countries, UserNotifier &notifier,
                               const std::string &customAwardFile)
    : m_config(config), m_countries(countries), m_resolver(std::make_unique<CountryResolver>(countries)),
      m_settings(std::make_unique<ConfigLogSettings>(config)),
      m_awards(std::make_unique<TAwardModel>(countries, config)), m_customAwards(std::make_unique<TCustAwardList>())
{
    m_services.notifier = &notifier;
    m_services.resolver = m_resolver.get();
    m_services.settings = m_settings.get();
    m_services.awards = m_awards.get();
    if (!customAwardFile.empty())
        LoadCustomAwards(*m_customAwards, customAwardFile, notifier);
    SetCustomAwardNames(m_customAwards.get());
}

ProgramContext::~ProgramContext()
{
    m_log.reset();
    SetCustomAwardNames(nullptr);
}

TQsoData &ProgramContext::MakeLog()
{
    m_log = std::make_unique<TQsoData>(m_services);
    return *m_log;
}

void ProgramContext::DropLog() { m_log.reset(); }

void ProgramContext::CountryDataChanged()
{
    m_awards->CountryDataChanged();
    if (m_log)
        m_log->InvalidateAwardTables();
}

} // namespace vellum
