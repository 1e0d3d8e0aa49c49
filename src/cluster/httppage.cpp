#include "httppage.h"

#include "logstore/trim.h"

namespace vellum {

namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

} // namespace

std::string ConvertSpotPageLine(std::string_view line)
{
    if (line.size() < 30)
        return {};
    std::string head(line.substr(0, line.size() - 12));
    std::string when(line.substr(line.size() - 12));
    if (when[4] == 'Z') {
        when.erase(4, 1);
        if (std::size_t colon = head.find(':'); colon != std::string::npos && colon < 12)
            head[colon] = ' ';
    } else {
        when.erase(0, 1);
    }
    when[7] = '-';
    return head + " <" + when + ">\r\n";
}

HttpStep HttpPageReader::Start()
{
    HttpStep step;
    if (m_state != State::Idle) {
        step.warning = "Transfer aborted";
        step.close = true;
        m_state = State::Idle;
        return step;
    }
    m_state = State::Connecting;
    m_partial.clear();
    m_lastEnd = 0;
    step.captions.push_back("Connecting to " + m_address.Text());
    step.open = true;
    return step;
}

HttpStep HttpPageReader::Connected()
{
    HttpStep step;
    std::string caption = "Connected to " + m_address.Text();
    if (m_state != State::Connecting)
        caption += " Incorrect status = " + std::to_string(static_cast<int>(m_state));
    step.captions.push_back(caption);
    m_state = State::StatusLine;
    m_inHeaders = m_html = m_pre = m_redirecting = false;
    m_location.reset();
    step.send = "GET " + m_address.path + " HTTP/1.0\r\n\r\n";
    step.suspendSpots = true;
    return step;
}

HttpStep HttpPageReader::Received(std::span<const std::uint8_t> bytes)
{
    HttpStep step;
    for (std::uint8_t b : bytes) {
        if (m_state != State::StatusLine && m_state != State::Body)
            break; // failed or redirected: the rest of the page is not read
        char c = static_cast<char>(b);
        if (c == '\r' || c == '\n') {
            if (m_lastEnd != 0 && m_lastEnd != c) {
                m_lastEnd = 0; // the second half of a CR LF or LF CR pair
                continue;
            }
            m_lastEnd = c;
            std::string text = std::move(m_partial);
            m_partial.clear();
            line(text, step);
            continue;
        }
        m_lastEnd = 0;
        if (m_partial.size() < MaxLine)
            m_partial += c;
    }
    return step;
}

void HttpPageReader::line(const std::string &text, HttpStep &step)
{
    if (m_state == State::StatusLine)
        m_inHeaders ? headerLine(text, step) : statusLine(text, step);
    else if (m_state == State::Body)
        bodyLine(text, step);
}

void HttpPageReader::statusLine(const std::string &text, HttpStep &step)
{
    step.captions.push_back("Reading " + m_address.path);
    if (!startsWith(upper(text), "HTTP/"))
        return fail("Unexpected header = " + text, step);
    std::size_t blank = text.find(' ');
    if (blank == std::string::npos)
        return fail("No Status code", step);
    std::string code = text.substr(blank + 1, 3);
    if (code != "200" && code != "301" && code != "302")
        return fail("Unknown status code = " + text, step);
    m_redirecting = code[0] == '3';
    m_inHeaders = true;
}

void HttpPageReader::headerLine(const std::string &text, HttpStep &step)
{
    std::string header = upper(text);
    if (text.empty()) {
        if (!m_html)
            return fail("Not an HTML/TEXT document", step);
        m_state = State::Body;
        return;
    }
    if (startsWith(header, "CONTENT-TYPE:")) {
        // Servers add a character set: "text/html; charset=utf-8" is an HTML page too.
        std::string type(Trim(std::string_view(header).substr(13)));
        m_html = m_html || startsWith(type, "TEXT/HTML") || startsWith(type, "TEXT/PLAIN");
    }
    if (m_redirecting && startsWith(header, "LOCATION: "))
        redirect(std::string(Trim(std::string_view(text).substr(10))), step);
}

void HttpPageReader::redirect(const std::string &url, HttpStep &step)
{
    if (++m_redirects > MaxRedirects)
        return fail("Too many redirects", step);
    step.captions.push_back("New location = " + url);
    ClusterAddress next = ParseClusterAddress(url);
    if (!next.host.empty())
        m_address.host = next.host, m_address.port = next.port;
    m_address.path = next.path.empty() ? "/" : next.path;
    step.close = true;
    m_state = State::Idle;
    HttpStep again = Start();
    step.captions.insert(step.captions.end(), again.captions.begin(), again.captions.end());
    step.open = true;
}

void HttpPageReader::bodyLine(const std::string &text, HttpStep &step)
{
    std::string_view rest = text;
    if (!m_pre) {
        std::size_t tag = rest.find("<PRE>");
        if (tag == std::string_view::npos)
            return;
        m_pre = true;
        rest.remove_prefix(tag + 5);
    }
    if (std::size_t end = rest.find("</PRE>"); end != std::string_view::npos) {
        m_pre = false;
        rest = rest.substr(0, end);
    }
    step.received += ConvertSpotPageLine(rest);
}

void HttpPageReader::fail(const std::string &message, HttpStep &step)
{
    step.captions.push_back("Error: " + message);
    m_state = State::Failed;
    step.resumeSpots = true;
    step.close = true;
}

HttpStep HttpPageReader::Disconnected()
{
    HttpStep step;
    step.resumeSpots = true;
    if (m_state == State::StatusLine || m_state == State::Body)
        step.captions.push_back(""); // the terminal's own caption again
    else if (m_state == State::Connecting || m_state == State::Idle)
        step.captions.push_back("Unexpected disconnect from " + m_address.Text());
    m_state = State::Idle;
    m_redirects = 0;
    step.close = true;
    return step;
}

} // namespace vellum
