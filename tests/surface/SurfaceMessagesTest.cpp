// A surface's messages through a mapping to the panel's actions, and the panel's state back
// to the surface's rings and lamps, on byte rows.
#include <gtest/gtest.h>

#include "surface/MappingCatalogue.h"
#include "surface/SurfaceFeedback.h"
#include "surface/SurfaceInput.h"

namespace {

// The actions a surface asked for, in order, as text.
struct ActionLog : ControlActions {
    std::vector<std::string> calls;
    ActionOutcome Log(std::string call) {
        calls.push_back(std::move(call));
        return ActionOutcome::Taken();
    }
    ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) override {
        return Log("turn " + std::to_string(knob) + " " + std::to_string(delta) + " " +
                   origin.client);
    }
    ActionOutcome PressMenuButton(int button, const ActionOrigin&) override {
        return Log("menu " + std::to_string(button));
    }
    ActionOutcome PressFunctionButton(int button, const ActionOrigin&) override {
        return Log("function " + std::to_string(button));
    }
    ActionOutcome PressToggle(const std::string& label, const ActionOrigin&) override {
        return Log("toggle " + label);
    }
    ActionOutcome DragKnob(int knob, int deflection, const ActionOrigin&) override {
        return Log("drag " + std::to_string(knob) + " " + std::to_string(deflection));
    }
    ActionOutcome PressKnobDisplay(int knob, const ActionOrigin&) override {
        return Log("display " + std::to_string(knob));
    }
    ActionOutcome PressLabelled(const std::string& label, const ActionOrigin&) override {
        return Log("labelled " + label);
    }
    ActionOutcome SelectUnit(int, const ActionOrigin&) override { return Log("unit"); }
    ActionOutcome RecallMemory(int, const ActionOrigin&) override { return Log("recall"); }
    ActionOutcome StoreMemory(int, const ActionOrigin&) override { return Log("store"); }
    ActionOutcome SetParameter(int, int, const ActionOrigin&) override { return Log("set"); }
};

Mapping Shipped(const std::string& stem) {
    const MappingRead read = LoadMapping(stem);
    EXPECT_TRUE(read.mapping) << read.error;
    return read.mapping.value_or(Mapping{});
}

PanelState BoundState() {
    PanelState state;
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        state.knobs[knob] = {true, knob, "P" + std::to_string(knob), 0, 0, 254, ""};
    }
    state.toggles[0] = {"UNIT 1", true};
    state.toggles[1] = {"UNIT 2", false};
    return state;
}

const ActionOrigin kOrigin{ActionSource::Surface, "X-Touch"};

TEST(SurfaceMessagesTest, MackieVPotsTurnKnobsAndItsButtonsPressThePanelsControls) {
    SurfaceInput input(Shipped("mackie-control"));
    ActionLog log;
    const PanelState state = BoundState();
    const std::vector<MidiBytes> rows = {
        {0xB0, 0x10, 0x01},        // V-Pot 1 one detent right
        {0xB0, 0x17, 0x43},        // V-Pot 8 three detents left, accelerated
        {0x90, 0x02, 0x7F},        // REC 3: menu button 3
        {0x90, 0x02, 0x00},        // its release
        {0x80, 0x02, 0x40},        // a note off also releases
        {0x90, 0x11, 0x7F},        // MUTE 2: function button 2
        {0x90, 0x19, 0x7F},        // SELECT 2: UNIT 2
        {0xB1, 0x10, 0x01},        // V-Pot 1's number on channel 2: bound to nothing
        {0xB0, 0x10},              // cut short
        {0xB0, 0x90, 0x01},        // a data byte with its top bit
        {0xF0, 0x00, 0x20, 0xF7},  // system exclusive
        {},
    };
    for (const MidiBytes& row : rows) {
        EXPECT_TRUE(input.Handle(row, state, log, kOrigin).taken);
    }
    const std::vector<std::string> expected = {"turn 0 1 X-Touch", "turn 7 -9 X-Touch", "menu 2",
                                               "function 1", "toggle UNIT 2"};
    EXPECT_EQ(log.calls, expected);
}

TEST(SurfaceMessagesTest, RingsAndLampsFollowThePanelAndOnlyWhatChangedGoesOut) {
    const Mapping generic = Shipped("generic-eight-encoders");
    SurfaceFeedback feedback;
    PanelState state = BoundState();
    state.knobs[1].value = 254;
    state.knobs[2] = {};  // bound to nothing: dark
    state.menuButtons[0] = {"WIPE", true};

    const std::vector<MidiBytes> first = feedback.Update(generic, state, 0);
    ASSERT_EQ(first.size(),
              static_cast<size_t>(kActionKnobs + kActionMenuButtons + kActionFunctionButtons));
    EXPECT_EQ(first[0], (MidiBytes{0xB0, 1, 0}));
    EXPECT_EQ(first[1], (MidiBytes{0xB0, 2, 127}));
    EXPECT_EQ(first[2], (MidiBytes{0xB0, 3, 0}));
    EXPECT_EQ(first[8], (MidiBytes{0x90, 8, 127}));
    EXPECT_EQ(first[9], (MidiBytes{0x90, 9, 0}));
    EXPECT_TRUE(feedback.Update(generic, state, 0).empty());

    // The unit moves one value, the panel lights another button: two messages.
    state.knobs[0].value = 127;
    state.menuButtons[0].lit = false;
    const std::vector<MidiBytes> moved = feedback.Update(generic, state, 0);
    EXPECT_EQ(moved, (std::vector<MidiBytes>{{0xB0, 1, 64}, {0x90, 8, 0}}));
    feedback.Forget();
    EXPECT_EQ(feedback.Update(generic, state, 0).size(), first.size());

    // A V-Pot ring takes its mode and one of eleven positions; the unit lamps follow.
    const Mapping mackie = Shipped("mackie-control");
    SurfaceFeedback vpots;
    const std::vector<MidiBytes> rings = vpots.Update(mackie, state, 0);
    EXPECT_EQ(rings[0], (MidiBytes{0xB0, 0x30, 6}));
    EXPECT_EQ(rings[1], (MidiBytes{0xB0, 0x31, 11}));
    EXPECT_EQ(rings[2], (MidiBytes{0xB0, 0x32, 0}));
    RingBinding spread{{}, RingStyle::VPot, 3};
    EXPECT_EQ(RingValue(spread, state.knobs[3]), 0x31);
    EXPECT_TRUE(LampLit({PanelControl::Kind::Toggle, 0, "unit 1"}, state));
    EXPECT_FALSE(LampLit({PanelControl::Kind::Toggle, 0, "UNIT 2"}, state));
    EXPECT_FALSE(LampLit({PanelControl::Kind::MenuButton, 12, ""}, state));
}

TEST(SurfaceMessagesTest, WhatComesBackOnALoopedPortIsTakenForNoTurnOrPress) {
    const Mapping generic = Shipped("generic-eight-encoders");
    SurfaceFeedback feedback;
    PanelState state = BoundState();
    state.menuButtons[0] = {"WIPE", true};
    const std::vector<MidiBytes> sent = feedback.Update(generic, state, 1000);
    // Each ring and lamp sent comes back once and is known; a second copy is a real message.
    for (const MidiBytes& message : sent) {
        EXPECT_TRUE(feedback.TakeEcho(*ParseMidi(message), 1010)) << int(message[1]);
    }
    EXPECT_FALSE(feedback.TakeEcho(*ParseMidi(sent[0]), 1010));
    // Another value on the ring's control, another control, or the same after the window is
    // the surface's own.
    state.knobs[0].value = 254;
    const std::vector<MidiBytes> moved = feedback.Update(generic, state, 2000);
    ASSERT_EQ(moved.size(), 1U);
    const MidiEvent ring = *ParseMidi(moved[0]);
    EXPECT_FALSE(feedback.TakeEcho({ring.control, 1}, 2001));
    EXPECT_FALSE(
        feedback.TakeEcho({{MidiKind::ControlChange, 1, ring.control.number}, ring.value}, 2001));
    EXPECT_FALSE(feedback.TakeEcho(ring, 2000 + SurfaceFeedback::kEchoWindow_ms + 1));
}

TEST(SurfaceMessagesTest, AnAbsoluteKnobTakesOverSoftlyAndLetsGoWhenTheMenuChanges) {
    Mapping mapping;
    mapping.name = "faders";
    mapping.knobs[0] = KnobBinding{{MidiKind::ControlChange, 0, 7}, Encoding::Absolute, {}, 0};
    SurfaceInput input(mapping);
    ActionLog log;
    PanelState state = BoundState();
    state.knobs[0].value = 127;  // position 64 of 0..254
    input.Follow(state);
    input.Handle({0xB0, 7, 10}, state, log, kOrigin);
    input.Handle({0xB0, 7, 40}, state, log, kOrigin);
    input.Handle({0xB0, 7, 66}, state, log, kOrigin);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"turn 0 5 X-Touch"}));
    // Another menu binds the knob elsewhere: it must catch the new value first.
    state.knobs[0] = {true, 40, "Other", 200, 0, 254, ""};
    input.Follow(state);
    log.calls.clear();
    input.Handle({0xB0, 7, 70}, state, log, kOrigin);
    EXPECT_TRUE(log.calls.empty());
    input.Handle({0xB0, 7, 101}, state, log, kOrigin);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"turn 0 2 X-Touch"}));
}

}  // namespace
