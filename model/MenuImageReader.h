#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Reads big-endian words and 8-bit texts from a menu image block and never outside it. A
// read that would run past the end returns zeros and marks the reader overrun; the parser
// then stops, so a malformed image can neither read beyond its block nor loop without end.
class MenuImageReader {
  public:
    explicit MenuImageReader(std::span<const uint8_t> block) : m_block(block) {}

    size_t Position() const { return m_position; }
    size_t Size() const { return m_block.size(); }
    bool Overrun() const { return m_overrun; }

    // Moves to `position`; beyond the end marks the reader overrun.
    void Seek(size_t position);
    void Skip(size_t count) { Seek(m_position + count); }

    uint8_t Byte();
    uint16_t Word();
    uint32_t Long();

    // A text of exactly `count` bytes, its NUL bytes dropped.
    std::string FixedText(size_t count);
    // A NUL-ended text; the reader stops after the NUL. A text whose NUL is missing overruns.
    std::string NulText();
    // Steps over NUL bytes up to the next non-zero byte, but not past `limit` nor the end.
    void SkipPadding(size_t limit);

  private:
    // True when `count` bytes are left from the position; otherwise marks the overrun.
    bool Has(size_t count);

    std::span<const uint8_t> m_block;
    size_t m_position = 0;
    bool m_overrun = false;
};

// The text without the blanks at either end.
std::string Trimmed(const std::string& text);
