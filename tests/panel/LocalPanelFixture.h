#pragma once
// TEMPORARY until the shared panel fixture lands.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "link/Framing.h"
#include "link/UnitCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "sim/line/SimLine.h"
#include "tests/support/LinkFixture.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

class LocalPanelFixture : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        UsePeer(&units);
        panel = std::make_unique<CTavrinoxDlg>();
    }
    void TearDown() override {
        panel.reset();
        LinkFixture::TearDown();
    }
    void Select(int unit) {
        g_currentUnitAddress = static_cast<uint8_t>(unit << 4);
        IdentifySelectedUnit();
        const bool compact = IsCompactModel(g_unitStatus[kStatusByteModel]);
        g_panelModel.m_menuButtonCount = compact ? 6 : 10;
        g_panelModel.m_menuEntryCount = compact ? 12 : 20;
        DownloadMenuImage(unit);
        ParseMenuImage(unit);
        ReadParameterValues();
        const int menu = g_unitStatus[kStatusByteMenu];
        g_panelModel.m_currentMenu[unit] = menu;
        g_panelModel.m_previousMenu[unit] = menu;
        g_panelModel.m_unitMenu[unit] = menu;
        g_panelModel.m_referencePresent = true;
        panel->UpdateLamps(true);
        panel->ShowMenuLabels();
        panel->ShowFunctionLabels();
        panel->BindKnobs();
        line.TakeWritten();
    }
    // The payloads (command and data) of the requests written since the last call.
    std::vector<std::vector<uint8_t>> SentRequests() {
        const std::vector<uint8_t> bytes = line.TakeWritten();
        std::vector<std::vector<uint8_t>> requests;
        for (size_t at = 0; at + 1 < bytes.size();) {
            const size_t length = bytes[at + 1];
            const size_t end = std::min(bytes.size(), at + 2 + length);
            requests.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(end));
            at = end + 1;
        }
        return requests;
    }
    int Menu(int unit = 0) const {
        return g_panelModel.m_currentMenu[unit == 0 ? UnitOfAddress(g_currentUnitAddress) : unit];
    }

    SimLine units{{{1, 11}, {2, 4}, {3, 5}}};
    std::unique_ptr<CTavrinoxDlg> panel;
};
