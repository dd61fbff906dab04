#pragma once

#include <csignal>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "sim/line/SimControl.h"
#include "sim/line/SimLine.h"

// Undoes the marking a terminal applies to input with line errors: 0xFF 0xFF is a data byte
// 0xFF, 0xFF 0x00 0x00 a BREAK, 0xFF 0x00 x a byte x received with a parity or framing error.
class MarkedByteDecoder {
  public:
    enum class Kind { Nothing, Data, Break, Damaged };
    struct Event {
        Kind kind = Kind::Nothing;
        uint8_t byte = 0;
    };
    Event Feed(uint8_t byte);

  private:
    enum class Stage { Plain, AfterMark, AfterMarkZero };
    Stage m_stage = Stage::Plain;
};

// Where the master's bytes come from and answers go: a pseudo-terminal, a socket, a device.
class LineEndpoint {
  public:
    virtual ~LineEndpoint() = default;
    // The descriptor to read the master's bytes from and write answers to; -1 while none
    // (a socket endpoint waiting for its client).
    virtual int DataFd() const = 0;
    // Descriptors to watch besides the data one (a listening socket), and what to do when
    // one of them is readable.
    virtual int WatchFd() const { return -1; }
    virtual void OnWatchReadable() {}
    // The data descriptor hung up or failed.
    virtual void OnDataClosed() {}
    // Hands received raw bytes over as master bytes and BREAKs.
    virtual void Decode(const uint8_t* bytes, size_t count, SimLine& line, AnswerSink& sink);
};

// Serves a simulated line on an endpoint with the real clock: feeds the master's bytes to the
// line, writes its answers when their delays have passed, floods the line while noise is on,
// and runs control commands from stdin and a script.
class LineServer final : public AnswerSink {
  public:
    LineServer(SimLine& line, LineEndpoint& endpoint);

    void SetScript(std::vector<std::string> lines) { m_script = std::move(lines); }
    void ReadControlFrom(int fd) { m_controlFd = fd; }

    // Runs the script's commands that are due (those before its first wait).
    void RunDueScript();
    // Serves until `stop` becomes non-zero or a "quit" command. Returns 0.
    int Run(const volatile std::sig_atomic_t& stop);

    // AnswerSink.
    void Send(const std::vector<uint8_t>& bytes, uint32_t delay_ms) override;

  private:
    struct Timed {
        uint32_t due_ms;
        uint8_t byte;
    };
    void ReadControl();
    void Execute(const std::string& command);
    void ReadMaster();
    void WriteDue();
    void WriteNoise();
    int PollTimeout_ms() const;

    SimLine& m_line;
    LineEndpoint& m_endpoint;
    SimControl m_control;
    std::deque<Timed> m_toMaster;
    std::vector<std::string> m_script;
    size_t m_scriptNext = 0;
    uint32_t m_scriptResume_ms = 0;
    int m_controlFd = -1;
    std::string m_controlBuffer;
    uint32_t m_lastNoise_ms = 0;
    bool m_quit = false;
};
