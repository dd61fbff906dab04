// Parsing a full 64 KB menu image: the record walk alone, and the whole ParseMenuImage with
// its lock-out read and identify answered at once by an in-process unit.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "link/LockoutCommands.h"
#include "link/SerialCom.h"
#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "unit/MenuImageParser.h"

namespace {

class Image {
  public:
    void Word(unsigned word) {
        bytes.push_back(static_cast<uint8_t>(word >> 8));
        bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    }
    // `text` in exactly `words` words.
    void Text(const std::string& text, unsigned words) {
        std::string padded = text;
        padded.resize(words * 2u, '\0');
        bytes.insert(bytes.end(), padded.begin(), padded.end());
    }
    size_t Open() {
        Word(0);
        return bytes.size() - 2;
    }
    void Close(size_t start) {
        const size_t words = (bytes.size() - start) / 2;
        bytes[start] = static_cast<uint8_t>(words >> 8);
        bytes[start + 1] = static_cast<uint8_t>(words & 0xFF);
    }
    std::vector<uint8_t> bytes{1, 2, 3, 4};
};

// A full-family image with every table filled and long texts, up to 64 KB.
std::vector<uint8_t> FullImage() {
    Image image;
    image.Word(128);
    for (unsigned n = 0; n < 128; ++n) {
        const size_t start = image.Open();
        for (unsigned word : {n, 1u, 0x0010u, 0u, 0u, 0u, 1000u, 0u, 100u, 1u, 0u, 1u, 3u}) {
            image.Word(word);
        }
        image.Text("Parameter " + std::to_string(n) + "#x", 10);
        image.Text("Second text", 6);
        for (int option = 0; option < 3; ++option) {
            image.Word(0x5A5A);
            image.Word(8);
            image.Word(8);
            image.Text("Option text " + std::to_string(option), 8);
            image.Text("Other text", 8);
        }
        image.Close(start);
    }
    image.Word(129);
    for (unsigned n = 128; n <= 256; ++n) {
        const size_t start = image.Open();
        for (unsigned word : {n, 0u, 0u, 0u, 0u, 0u, 3u, 0u, 4u}) {
            image.Word(word);
        }
        for (int option = 0; option < 4; ++option) {
            image.Word(0x5A5A);
            image.Word(6);
            image.Word(0);
            image.Text(" Choice " + std::to_string(option) + " ", 6);
        }
        image.Close(start);
    }
    image.Word(64);
    for (unsigned n = 0; n < 64; ++n) {
        const size_t start = image.Open();
        for (unsigned word : {n, 0u, 0u}) {
            image.Word(word);
        }
        for (unsigned i = 0; i < 8 + 4 + 20; ++i) {
            image.Word(i);
        }
        image.Word(12);
        image.Word(6);
        image.Word(2);
        image.Text("  Menu title " + std::to_string(n), 12);
        image.Text("Menu", 6);
        image.Text("", 2);
        image.Close(start);
    }
    for (int section = 0; section < 5; ++section) {
        image.Word(0);
    }
    image.Word(0);
    const size_t messageCountAt = image.bytes.size() - 2;
    unsigned messages = 0;
    while (messages < 200 && image.bytes.size() + 120 < kMenuImageSize) {
        const size_t start = image.Open();
        for (unsigned word : {messages, 0u, 0u, 0u, 16u}) {
            image.Word(word);
        }
        image.Text("", 3);
        image.Text("Caption of message " + std::to_string(messages), 16);
        image.Text("", 6);
        image.Word(24);
        image.Text("Text of the message, " + std::to_string(messages), 24);
        image.Close(start);
        ++messages;
    }
    image.bytes[messageCountAt + 1] = static_cast<uint8_t>(messages);
    image.bytes.resize(kMenuImageSize, 0);
    return image.bytes;
}

// Answers the lock-out read and the identify at once.
class InstantUnit final : public LinePeer {
  public:
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        m_request.push_back(byte);
        if (m_request.size() < 3 || m_request.size() < m_request[1] + 3u) {
            return;
        }
        if (m_request[2] == 0xB9) {
            // Address, L, code 02, 128 entries of "unlocked", checksum.
            std::vector<uint8_t> answer(3 + 128 + 1, kLockStateUnlocked);
            answer[0] = 0x10;
            answer[1] = 129;
            answer[2] = 0x02;
            answer.back() = 0;
            line.SendToMaster(answer);
        } else if (m_request[2] == 0xC0) {
            line.SendToMaster({0x10, 10, 0x40, 0x40, 0, 11, 0, 0, 0, 0, 0, 0, 0});
        }
        m_request.clear();
    }

  private:
    std::vector<uint8_t> m_request;
};

void WalkFullImage(benchmark::State& state) {
    const std::vector<uint8_t> image = FullImage();
    MenuImageWalk walk = MenuImageWalk::Truncated;
    for (auto _ : state) {
        walk = WalkMenuImage(image, 20);
        benchmark::DoNotOptimize(walk);
    }
    if (walk != MenuImageWalk::Complete) {
        state.SkipWithError("the image did not parse whole");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kMenuImageSize);
}
BENCHMARK(WalkFullImage)->Unit(benchmark::kMicrosecond);

void ParseFullImage(benchmark::State& state) {
    ScopedVirtualClock time(1000);
    InstantUnit unit;
    InProcessLine line(&unit);
    RegisterInProcessLine("bench", &line);
    PortNames().SetRunOverride("inproc:bench");
    static_cast<void>(ReopenPort(1));  // the registered line always opens
    g_currentUnitAddress = 0x10;
    g_unitStatus[kStatusByteModel] = 11;
    const std::vector<uint8_t> image = FullImage();
    std::copy(image.begin(), image.end(), g_panelModel.MenuImage(1).begin());
    MenuImageWalk walk = MenuImageWalk::Truncated;
    for (auto _ : state) {
        walk = ParseMenuImage(1);
        benchmark::DoNotOptimize(walk);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kMenuImageSize);
    if (walk != MenuImageWalk::Complete || g_messageTable[10].text.empty()) {
        state.SkipWithError("the image did not parse whole");
    }
    g_link.Close();
    PortNames().SetRunOverride("");
    UnregisterInProcessLine("bench");
    ResetProgramState();
}
BENCHMARK(ParseFullImage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
