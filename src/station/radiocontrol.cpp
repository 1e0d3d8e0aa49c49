#include "radiocontrol.h"

#include "rigdaemon.h"

#include "config/configrecord.h"
#include "config/inifile.h"
#include "logstore/paths.h"
#include "logstore/services.h"

#include <algorithm>
#include <filesystem>

namespace vellum {

namespace {

constexpr int BusyDeferMs = 1000;
constexpr std::uint8_t CwOnRadioDtr = 5;
constexpr std::uint8_t CwOnRadioRts = 6;

std::string joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += "\r" + line;
    return text;
}

} // namespace

SerialSettings RadioSerialSettings(const TRadioDefinition &definition, const TConfigRecord &config)
{
    SerialSettings s;
    s.comNumber = config.Hardware_RadioCOMPort;
    s.baud = config.Hardware_baudrate != 0 ? static_cast<int>(config.Hardware_baudrate) : definition.baud;
    s.dataBits = 7 + definition.dataBitsCode;
    s.parity = Parity::None;
    s.stopBits = 1 + definition.stopBitsCode;
    s.inSize = s.outSize = 1024;
    s.flow = FlowControl::None;
    // A line that keys CW is kept low here.
    s.dtr = config.hardware_cwport != CwOnRadioDtr && config.Hardware_DTRHigh;
    s.rts = config.hardware_cwport != CwOnRadioRts && config.Hardware_RTSHigh;
    return s;
}

std::optional<TRadioDefinition> LoadRadioDefinition(const std::string &directory, const std::string &model,
                                                    std::vector<std::string> &problems)
{
    std::optional<std::string> name = RadioFileName(model);
    if (!name) {
        problems.push_back("\"" + model + "\" names no file in " + directory);
        return std::nullopt;
    }
    std::string path = FindFileNoCase(directory, *name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    TIniFile ini(path);
    TRadioDefinition definition = ReadRadioDefinition(ini, problems);
    if (!problems.empty())
        return std::nullopt;
    return definition;
}

std::unique_ptr<RadioLink> MakeRadio(const TRadioDefinition &definition, const TConfigRecord &config,
                                     const RadioPorts &ports, const RadioTiming &timing, std::string &openError)
{
    if (!definition.daemon.empty()) {
        auto [host, port] = RigDaemonAddress(definition.daemon);
        std::unique_ptr<ByteChannel> channel = ports.tcp ? ports.tcp(host, port) : nullptr;
        if (!channel || !channel->Open()) {
            openError = "Radio daemon not reachable: " +
                        (channel ? channel->LastError() : host + ":" + std::to_string(port));
            return nullptr;
        }
        return std::make_unique<RigDaemonRadio>(definition, std::move(channel), timing);
    }
    RadioSettings settings{config.Hardware_RadioID, std::max<int>(config.Hardware_RadioMaxTries, 1),
                           config.Hardware_RadioCOMPort, timing};
    if (!definition.fileInterface.empty())
        return std::make_unique<TRadio>(definition, settings);
    std::unique_ptr<ByteChannel> channel = ports.serial ? ports.serial(RadioSerialSettings(definition, config)) : nullptr;
    if (!channel || !channel->Open()) {
        openError = channel ? channel->LastError() : "No serial port";
        return nullptr;
    }
    return std::make_unique<TRadio>(definition, settings, std::move(channel));
}

RadioControl::RadioControl(TConfigRecord &config, UserNotifier &notifier, RadioPorts ports)
    : m_config(config), m_notifier(notifier), m_ports(std::move(ports))
{
}

RadioControl::~RadioControl() = default;

void RadioControl::setLink(std::unique_ptr<RadioLink> link)
{
    bool was = Running();
    if (was && m_stopping)
        m_stopping();
    m_link = std::move(link);
    m_pollRequest = false;
    if (m_link)
        m_link->OnValuesChanged([this] {
            if (m_valuesPosted)
                m_valuesPosted();
            else
                ValuesChanged();
        });
    if (!m_link && m_stopPoll)
        m_stopPoll();
    if (was != Running() && m_runningChanged)
        m_runningChanged(Running());
}

std::unique_ptr<RadioLink> RadioControl::open()
{
    std::string model(m_config.Hardware_RadioType.view());
    std::vector<std::string> problems;
    std::optional<TRadioDefinition> definition = LoadRadioDefinition(RadiosDir(), model, problems);
    if (!definition) {
        if (problems.empty())
            m_notifier.error("Radio error number 1\rPress Help for details");
        else
            m_notifier.error("The radio definition \"" + model + "\" cannot be used:" + joined(problems));
        return nullptr;
    }
    std::string openError;
    std::unique_ptr<RadioLink> link = MakeRadio(*definition, m_config, m_ports, m_timing, openError);
    if (!link)
        m_notifier.error(openError);
    return link;
}

bool RadioControl::Start()
{
    if (Running() || m_config.Hardware_RadioType.view().empty())
        return Running();
    std::unique_ptr<RadioLink> link;
    try {
        link = open();
        if (!link)
            return false;
        if (!link->Init()) {
            m_notifier.error("Radio error number " + std::to_string(link->ErrorCode()) + "\rPress Help for details");
            return false;
        }
    } catch (const ERadioException &e) {
        m_notifier.error(std::string(e.what()) + "\rRadio interface has been disabled");
        return false;
    } catch (const std::exception &e) { // the definition file could not be read
        m_notifier.error(e.what());
        return false;
    }
    setLink(std::move(link));
    return true;
}

void RadioControl::Stop() { setLink(nullptr); }

void RadioControl::disable(const std::string &message)
{
    setLink(nullptr);
    m_notifier.error(message + "\rRadio interface has been disabled");
}

bool RadioControl::Guard(const std::function<void(RadioLink &)> &operation)
{
    if (!m_link)
        return false;
    try {
        operation(*m_link);
        return true;
    } catch (const ERadioException &e) {
        disable(e.what());
        return false;
    }
}

std::string RadioControl::FrequencyText()
{
    std::string text;
    Guard([&text](RadioLink &link) { text = link.FrequencyText(); });
    return text;
}

void RadioControl::SetPollTimer(std::function<void(int)> arm, std::function<void()> stop)
{
    m_armPoll = std::move(arm);
    m_stopPoll = std::move(stop);
}

void RadioControl::AddReceiver(std::function<bool()> wants, std::function<void(int, double)> take)
{
    m_receivers.push_back({std::move(wants), std::move(take)});
}

bool RadioControl::anyoneWants() const
{
    return std::any_of(m_receivers.begin(), m_receivers.end(), [](const Receiver &r) { return r.wants(); });
}

void RadioControl::PollTriggerFired()
{
    if (Running())
        m_pollRequest = true;
    else if (m_stopPoll)
        m_stopPoll();
}

void RadioControl::Idle()
{
    // Somebody starts following the radio (the QSO window goes to real time): a poll is due.
    bool wanted = Running() && anyoneWants();
    if (wanted && !m_wanted)
        m_pollRequest = true;
    m_wanted = wanted;
    if ((m_cwBusy && m_cwBusy()) || !m_pollRequest)
        return;
    m_pollRequest = false;
    if (m_link && m_link->Busy()) {
        if (m_armPoll)
            m_armPoll(BusyDeferMs);
        return;
    }
    Poll();
}

void RadioControl::Poll()
{
    if (!m_link || !anyoneWants())
        return;
    bool read = false;
    if (!Guard([&read](RadioLink &link) { read = link.ReadStatus(); }) || !read)
        return; // an error stops polling until a poll is requested again
    deliver();
    if (m_armPoll)
        m_armPoll(m_config.Hardware_RadioPollRate);
}

void RadioControl::deliver()
{
    const RadioState &state = m_link->Last();
    double kHz = state.split ? state.secondKHz : state.rxKHz;
    for (const Receiver &receiver : m_receivers)
        if (receiver.wants())
            receiver.take(state.mode, kHz);
}

void RadioControl::ValuesChanged()
{
    if (!m_link)
        return;
    if (m_valuesShown)
        m_valuesShown();
    if (!anyoneWants())
        return;
    deliver();
    if (m_pollRequest) {
        m_pollRequest = false;
        if (m_armPoll)
            m_armPoll(m_config.Hardware_RadioPollRate);
    }
}

} // namespace vellum
