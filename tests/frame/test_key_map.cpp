// The scancode to DirectInput table: every polled key, the function keys, a few others, and the
// accelerator commands.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "key_map.h"

namespace {

TEST(KeyMap, PolledKeysMapToTheirDirectInputCodes) {
    const std::vector<std::pair<SDL_Scancode, int>> polled = {
        {SDL_SCANCODE_W, KeyCode::W}, {SDL_SCANCODE_E, KeyCode::E}, {SDL_SCANCODE_S, KeyCode::S},
        {SDL_SCANCODE_D, KeyCode::D}, {SDL_SCANCODE_X, KeyCode::X}, {SDL_SCANCODE_C, KeyCode::C},
        {SDL_SCANCODE_UP, KeyCode::Up}, {SDL_SCANCODE_DOWN, KeyCode::Down},
        {SDL_SCANCODE_U, KeyCode::U}, {SDL_SCANCODE_I, KeyCode::I}, {SDL_SCANCODE_H, KeyCode::H},
        {SDL_SCANCODE_J, KeyCode::J}, {SDL_SCANCODE_N, KeyCode::N}, {SDL_SCANCODE_M, KeyCode::M},
        {SDL_SCANCODE_R, KeyCode::R}, {SDL_SCANCODE_T, KeyCode::T}, {SDL_SCANCODE_F, KeyCode::F},
        {SDL_SCANCODE_G, KeyCode::G}, {SDL_SCANCODE_V, KeyCode::V}, {SDL_SCANCODE_B, KeyCode::B},
        {SDL_SCANCODE_SPACE, KeyCode::Space}, {SDL_SCANCODE_P, KeyCode::P},
        {SDL_SCANCODE_L, KeyCode::L}, {SDL_SCANCODE_O, KeyCode::O}, {SDL_SCANCODE_K, KeyCode::K},
        {SDL_SCANCODE_Q, KeyCode::Q}, {SDL_SCANCODE_A, KeyCode::A}, {SDL_SCANCODE_F7, KeyCode::F7},
    };
    // The literal codes of the key table as well, so a wrong constant cannot hide a wrong entry.
    EXPECT_EQ(directInputCode(SDL_SCANCODE_W), 0x11);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_SPACE), 0x39);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_UP), 0xC8);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_DOWN), 0xD0);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F7), 0x41);
    for (const auto& [scancode, code] : polled)
        EXPECT_EQ(directInputCode(scancode), code) << "scancode " << scancode;

    // Each polled key sets exactly its own byte to 0x80.
    for (const auto& [scancode, code] : polled) {
        std::vector<uint8_t> sdl(SDL_NUM_SCANCODES, 0);
        sdl[scancode] = 1;
        KeyState state;
        state.keys.fill(0x55);
        state.qDown = 1;
        fillKeyState(sdl.data(), static_cast<int>(sdl.size()), state);
        EXPECT_TRUE(state.isDown(code));
        int down = 0;
        for (uint8_t b : state.keys) down += b != 0;
        EXPECT_EQ(down, 1);
        EXPECT_EQ(state.qDown, 1);  // down flags are not the table's business
    }
}

TEST(KeyMap, FunctionKeysAndOthersFollowTheScanCodeSet) {
    const SDL_Scancode f[] = {SDL_SCANCODE_F1, SDL_SCANCODE_F2, SDL_SCANCODE_F3, SDL_SCANCODE_F4,
                              SDL_SCANCODE_F5, SDL_SCANCODE_F6, SDL_SCANCODE_F7, SDL_SCANCODE_F8,
                              SDL_SCANCODE_F9, SDL_SCANCODE_F10};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(directInputCode(f[i]), 0x3B + i);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F11), 0x57);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F12), 0x58);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_ESCAPE), 0x01);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_1), 0x02);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_0), 0x0B);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_LEFT), 0xCB);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RIGHT), 0xCD);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RCTRL), 0x9D);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_ENTER), 0x9C);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(directInputCode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 5)), 0);

    // No two scancodes share a code.
    std::set<int> seen;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        const int code = directInputCode(static_cast<SDL_Scancode>(s));
        if (code) {
            EXPECT_TRUE(seen.insert(code).second) << "duplicate code " << code;
        }
    }
    EXPECT_GT(seen.size(), 100u);

    // A short or missing SDL array is handled.
    KeyState state;
    state.keys.fill(0xFF);
    fillKeyState(nullptr, 0, state);
    for (uint8_t b : state.keys) EXPECT_EQ(b, 0);
}

TEST(KeyMap, AcceleratorsGiveTheirCommands) {
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_ESCAPE), 40006);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F1), 40028);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F2), 25506);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F3), 40035);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F4), 40036);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F5), 40021);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F6), 40038);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F7), 40040);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F8), 40041);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F9), 40042);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F12), 40029);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F10), 40060);  // the drift gauge
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_F11), 0);
    EXPECT_EQ(acceleratorCommand(SDL_SCANCODE_W), 0);
}

}  // namespace
