#include "pskkeying.h"

#include "station/keyline.h"
#include "station/portmap.h"

#include <vector>

namespace vellum::psk {

PskTransmitterKey::PskTransmitterKey(ManualKey manualKey, PortOpener opener)
    : m_manualKey(std::move(manualKey)), m_opener(std::move(opener))
{
}

PskTransmitterKey::~PskTransmitterKey() { Close(); }

bool PskTransmitterKey::openPort(int comNumber, std::string &error)
{
    if (m_lines && m_com == comNumber)
        return true;
    Close();
    m_lines = m_opener ? m_opener(comNumber, error) : nullptr;
    if (!m_lines && error.empty())
        error = "The port cannot be opened";
    m_com = m_lines ? comNumber : 0;
    return m_lines != nullptr;
}

bool PskTransmitterKey::Key(bool on, const PskKeying &keying, std::string &error)
{
    m_keyed = on;
    if (keying.keying == KeyingCwInterface) {
        if (m_manualKey)
            m_manualKey(on);
        return true;
    }
    if (keying.keying < KeyingFirstCom)
        return true;
    if (!openPort(keying.ComNumber(), error))
        return false;
    bool dtr = keying.keyOnDtr ? on : keying.otherHigh;
    bool rts = keying.keyOnDtr ? keying.otherHigh : on;
    if (m_lines->Set(ModemLines::Line::Dtr, dtr, error) && m_lines->Set(ModemLines::Line::Rts, rts, error))
        return true;
    Close();
    return false;
}

void PskTransmitterKey::LinesLow()
{
    if (!m_lines)
        return;
    std::string ignored;
    m_lines->Set(ModemLines::Line::Dtr, false, ignored);
    m_lines->Set(ModemLines::Line::Rts, false, ignored);
}

void PskTransmitterKey::Close()
{
    LinesLow();
    m_lines.reset();
    m_com = 0;
}

PskTransmitterKey::PortOpener SerialPortOpener()
{
    return [](int comNumber, std::string &error) -> std::unique_ptr<ModemLines> {
        std::vector<std::string> problems;
        std::string device = PortMap::Load(problems).DevicePath(comNumber);
        if (device.empty()) {
            error = "No such port";
            return nullptr;
        }
        return SerialDeviceLines::Open(device, error);
    };
}

} // namespace vellum::psk
