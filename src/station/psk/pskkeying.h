#pragma once
// Keying the transmitter for PSK31: nothing for VOX, the CW keyer's manual key,
// or a modem line of a serial port (the other line held at a chosen level).

#include "station/bytechannel.h"

#include <functional>
#include <memory>
#include <string>

namespace vellum::psk {

/// KEYING of the PSK31 settings: 1 VOX, 2 the CW keyer, 3..10 COM1..COM8.
inline constexpr int KeyingVox = 1;
inline constexpr int KeyingCwInterface = 2;
inline constexpr int KeyingFirstCom = 3;

struct PskKeying {
    int keying = KeyingVox;
    bool keyOnDtr = true;  ///< the key line is DTR (else RTS)
    bool otherHigh = false; ///< level of the line that is not the key line
    int ComNumber() const { return keying >= KeyingFirstCom ? keying - 2 : 0; }
};

class PskTransmitterKey {
public:
    using ManualKey = std::function<void(bool down)>;
    /// Opens the modem lines of COMn; null with a readable error when it cannot.
    using PortOpener = std::function<std::unique_ptr<ModemLines>(int comNumber, std::string &error)>;

    PskTransmitterKey(ManualKey manualKey, PortOpener opener);
    ~PskTransmitterKey();

    /// Keys (or unkeys) by the keying chosen; false with the port's error text when the
    /// port could not be opened or set (the caller falls back to VOX).
    bool Key(bool on, const PskKeying &keying, std::string &error);
    bool Keyed() const { return m_keyed; }
    bool PortOpen() const { return m_lines != nullptr; }
    /// DTR and RTS low; the port stays open.
    void LinesLow();
    /// DTR and RTS low and the port closed.
    void Close();

private:
    bool openPort(int comNumber, std::string &error);

    ManualKey m_manualKey;
    PortOpener m_opener;
    std::unique_ptr<ModemLines> m_lines;
    int m_com = 0;
    bool m_keyed = false;
};

/// The opener of the program: the device of COMn from the ports file, opened for its lines.
PskTransmitterKey::PortOpener SerialPortOpener();

} // namespace vellum::psk
