#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Walks a menu image by the reading rules a panel follows (texts found by their ending NUL
// with the padding skipped up to the next non-zero byte, records continued at the further of
// the record's length and the parsed body) and collects what it finds. Independent of the
// builder, so the two can check each other.
struct WalkedParam {
    int flags = 0;
    std::string name;
    int optionCount = 0;
    int rawMin = 0;
    int rawMax = 0;
};

struct WalkedMenu {
    int flags = 0;
    std::vector<int> entries;
    std::vector<int> knobs;
    std::string title;
    std::string shortName;
};

struct WalkedImage {
    std::map<int, WalkedParam> params;
    std::map<int, std::string> functionLabels;
    std::map<int, WalkedMenu> menus;
    std::map<int, int> messageFlags;
    std::map<int, std::string> messageTexts;
    int functionRecords = 0;
    size_t end = 0;  // where the walk stopped
    // Records whose body reached past their own length (the next record would be misread).
    int overruns = 0;
    bool outOfBounds = false;
};

class ImageWalker {
  public:
    ImageWalker(const std::vector<uint8_t>& image, int entryWords)
        : m_image(image), m_entryWords(entryWords) {}

    WalkedImage Walk();

  private:
    uint8_t Byte(size_t at);
    int Word(size_t at) { return (Byte(at) << 8) | Byte(at + 1); }
    int SignedWord(size_t at) { return static_cast<int16_t>(Word(at)); }
    std::string NulText(size_t& at);
    std::string FixedText(size_t at, size_t bytes);
    void EndRecord(size_t start, size_t stop, size_t& next);

    void Parameter(size_t start, size_t body, size_t& next);
    void Function(size_t start, size_t body, size_t& next);
    void Menu(size_t start, size_t body, size_t& next);
    void Message(size_t body);

    const std::vector<uint8_t>& m_image;
    int m_entryWords;
    WalkedImage m_out;
};
