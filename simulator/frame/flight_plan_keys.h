// The flight plan's keys, which the simulator's accelerator table leaves free: Insert and Delete
// (new node, delete node), Page Up / Page Down (node later / earlier), the keypad's 8/2, 4/6, 7/9
// (prograde, normal, radial plus / minus; with Shift in finer steps), Home (plan a transfer to the
// target), End (fly the next node), the main keyboard's digits and Enter (type an altitude).
// Held keypad and page keys repeat; the others act once per press.
#pragma once

#include <SDL_scancode.h>

namespace FlightPlanCommand {
constexpr int NewNode = 41620;      // Insert
constexpr int DeleteNode = 41621;   // Delete
constexpr int Later = 41622;        // Page Up
constexpr int Earlier = 41623;      // Page Down
constexpr int FirstChange = 41624;  // keypad 8, 2, 4, 6, 7, 9 in this order: six commands
constexpr int FirstFineChange = 41630;  // the same with Shift
constexpr int PlanTransfer = 41636;  // Home
constexpr int FlyNext = 41637;       // End
constexpr int Enter = 41638;         // Enter
constexpr int FirstDigit = 41640;    // 0 .. 9: ten commands
constexpr int Last = 41649;
}  // namespace FlightPlanCommand

// Command of a flight plan key, 0 for other keys and for the auto-repeat of keys that act once.
int flightPlanKeyCommand(SDL_Scancode scancode, bool shiftHeld, bool repeat);
