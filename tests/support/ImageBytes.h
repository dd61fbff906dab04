#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Lays out menu-image bytes by hand for the parser tests: big-endian words, raw bytes and
// texts, and records whose length word is filled in when they are closed.
class ImageBytes {
  public:
    // Starts with the four header bytes.
    ImageBytes() : m_bytes{0x01, 0x02, 0x03, 0x04} {}

    ImageBytes& Word(uint16_t word) {
        m_bytes.push_back(static_cast<uint8_t>(word >> 8));
        m_bytes.push_back(static_cast<uint8_t>(word & 0xFF));
        return *this;
    }
    ImageBytes& Byte(uint8_t byte) {
        m_bytes.push_back(byte);
        return *this;
    }
    ImageBytes& Zeros(size_t count) {
        m_bytes.insert(m_bytes.end(), count, 0);
        return *this;
    }
    // The characters of `text`, nothing added.
    ImageBytes& Chars(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }

    // Opens a record: a length word to be filled in by Close.
    ImageBytes& Open() {
        m_open.push_back(m_bytes.size());
        return Word(0);
    }
    // Closes the last opened record with its real length in words (rounded up), or with
    // `words` when given.
    ImageBytes& Close(int words = -1) {
        const size_t start = m_open.back();
        m_open.pop_back();
        const size_t length =
            words >= 0 ? static_cast<size_t>(words) : (m_bytes.size() - start + 1) / 2;
        if ((m_bytes.size() - start) % 2 != 0 && words < 0) {
            m_bytes.push_back(0);
        }
        m_bytes[start] = static_cast<uint8_t>(length >> 8);
        m_bytes[start + 1] = static_cast<uint8_t>(length & 0xFF);
        return *this;
    }

    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

  private:
    std::vector<uint8_t> m_bytes;
    std::vector<size_t> m_open;
};
