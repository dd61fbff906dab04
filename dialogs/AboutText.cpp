#include "dialogs/AboutText.h"

#include <algorithm>
#include <array>

#include "dialogs/ProgramVersion.h"

namespace {

constexpr size_t kVersionInfoSize = 255;
constexpr uint8_t kModelWithTwoLines = 9;  // its first two unit lines come before the version
constexpr uint8_t kModelWithOptionalMenus = 4;

// The unit's version lines, read one at a time. `m_position` follows the text through the
// answer, so that when one zero-terminated string is used up the next can be found.
class VersionLines {
  public:
    explicit VersionLines(std::span<const uint8_t> info) {
        std::copy_n(info.begin(), std::min(info.size(), kVersionInfoSize), m_info.begin());
        m_text = StringAt(0);
    }

    int LineCount() const { return static_cast<int8_t>(m_info[0]); }

    // Drops the answer's leading bytes before the first line.
    void SkipHeader(size_t count) {
        m_text.erase(0, std::min(count, m_text.size()));
        m_position = count;
    }

    // The text up to the next line feed, which is used up with it; empty, using up nothing,
    // when no line feed is left.
    std::string TakeLine() {
        const size_t end = m_text.find('\n');
        if (end == std::string::npos) {
            return {};
        }
        std::string line = m_text.substr(0, end);
        m_text.erase(0, end + 1);
        m_position += end + 1;
        return line;
    }

    // Moves on to the next zero-terminated string when the current one has ended here.
    void StepOverEnd() {
        if (ByteAt(m_position) == 0) {
            ++m_position;
            m_text = StringAt(m_position);
        }
    }

    const std::string& Rest() const { return m_text; }

  private:
    uint8_t ByteAt(size_t index) const { return index < m_info.size() ? m_info[index] : 0; }

    std::string StringAt(size_t index) const {
        if (index >= m_info.size()) {
            return {};
        }
        const auto begin = m_info.begin() + static_cast<std::ptrdiff_t>(index);
        return std::string(begin, std::find(begin, m_info.end(), uint8_t{0}));
    }

    std::array<uint8_t, kVersionInfoSize> m_info{};
    std::string m_text;
    size_t m_position = 0;
};

// The template and its "^" markers, filled in order. A marker's insertion is skipped over
// when the next marker is looked for, so a "^" inside a unit's line is never taken for one.
class MarkedTemplate {
  public:
    explicit MarkedTemplate(std::string_view text) : m_text(text) {
        const size_t start = m_text.find('U');
        if (start != std::string::npos) {
            m_text.erase(0, start);
        }
    }

    // Removes the next marker and fills its place with `insertion`; without a marker left,
    // the insertion is not shown.
    void FillNext(const std::string& insertion) {
        const size_t marker =
            m_searchFrom < m_text.size() ? m_text.find('^', m_searchFrom) : std::string::npos;
        if (marker == std::string::npos) {
            m_searchFrom = m_text.size();
            return;
        }
        m_text.replace(marker, 1, insertion);
        m_searchFrom = marker + insertion.size();
    }

    const std::string& Text() const { return m_text; }

  private:
    std::string m_text;
    size_t m_searchFrom = 0;
};

}  // namespace

ProgramVersion BuiltProgramVersion() {
    return {VCP_PROGRAM_VERSION, VCP_RELEASE_DATE};
}

std::string ProgramAboutText(const ProgramVersion& program) {
    return "Remote Version: " + program.version + "\r\nRelease Date: " + program.date;
}

std::string MergeAboutText(const UnitVersion& unit, const ProgramVersion& program) {
    VersionLines lines(unit.info);
    MarkedTemplate merged(unit.templateText);
    int count = lines.LineCount();
    const bool twoLinesFirst = unit.model == kModelWithTwoLines;
    // A model 4 without the extended menus starts its answer with a line the box leaves out.
    const bool skipsFirstLine = unit.model == kModelWithOptionalMenus && !unit.extendedMenus;
    lines.SkipHeader(twoLinesFirst ? 2 : (skipsFirstLine ? 1 : 3));

    if (twoLinesFirst) {
        merged.FillNext(lines.TakeLine());
        merged.FillNext(lines.TakeLine());
        merged.FillNext(program.version);
        merged.FillNext(program.date);
    } else {
        if (skipsFirstLine) {
            lines.TakeLine();
        }
        --count;
        merged.FillNext(lines.TakeLine());
        --count;
        merged.FillNext(program.version);
        merged.FillNext(program.date);
        merged.FillNext(lines.TakeLine());
        merged.FillNext(lines.TakeLine());
    }

    // Further lines, each to the next marker; the last takes all that is left.
    for (count -= 4; count > 0; --count) {
        lines.StepOverEnd();
        merged.FillNext(count == 1 ? lines.Rest() : lines.TakeLine());
    }
    return merged.Text();
}
