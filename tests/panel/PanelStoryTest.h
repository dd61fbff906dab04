#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/panel/PanelFixture.h"

// The panel with four units on the line for the stories of its buttons, knobs and toggles:
// full-family units 1 and 4 (model 11), compact units 2 (model 4) and 3 (model 5).
class PanelStoryTest : public PanelFixture {
  protected:
    std::vector<UnitEntry> Units() const override { return {{1, 11}, {2, 4}, {3, 5}, {4, 11}}; }
    void TearDown() override {
        for (const auto& [kind, calls] : opened) {
            CTavrinoxDlg::UnregisterDialog(kind);
        }
        PanelFixture::TearDown();
    }

    // Selects `unit` as its toggle does; what was written until then is forgotten.
    void Select(int unit) {
        SelectUnit(unit);
        line.TakeWritten();
    }
    int Menu() const { return g_panelModel.m_currentMenu[panel->SelectedUnit()]; }
    void SetLatch() { g_panelModel.m_lampBits[0] |= 0x10; }

    // Registers a dialog of `kind` that records its arguments and returns `result`.
    std::vector<int>& Record(int kind, PanelDialogResult result = {}) {
        std::vector<int>& calls = opened[kind];
        CTavrinoxDlg::RegisterDialog(kind, [&calls, result](int argument) {
            calls.push_back(argument);
            return result;
        });
        return calls;
    }

    // The payloads (command and data) of the requests written since the last call.
    std::vector<std::vector<uint8_t>> SentRequests() { return RequestsIn(line.TakeWritten()); }
    static std::vector<std::vector<uint8_t>> RequestsIn(const std::vector<uint8_t>& bytes) {
        std::vector<std::vector<uint8_t>> requests;
        for (size_t at = 0; at + 1 < bytes.size();) {
            const size_t end = std::min(bytes.size(), at + 2 + bytes[at + 1]);
            requests.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(end));
            at = end + 1;  // past the checksum
        }
        return requests;
    }
    static bool Contains(const std::vector<std::vector<uint8_t>>& requests,
                         const std::vector<uint8_t>& request) {
        return std::find(requests.begin(), requests.end(), request) != requests.end();
    }
    std::string LastBox() const { return prompter.boxes.empty() ? "" : prompter.boxes.back().text; }

    std::map<int, std::vector<int>> opened;
};
