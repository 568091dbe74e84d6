# The on-screen control groups of the simulator: which button stands for which flag (in the
# simulator's binding order), its label and its place along the right edge of the screen.

# Button: (identifier, key line, function line, kind). Both lines hold at most four characters,
# so that the 5x7 text keeps a margin inside the 32-pixel button. kind chooses the colour of the lit state:
# "toggle" display switches, "latch" drive controls, "once" one-shot commands, "alert".
BUTTONS = {
    "gui": ("F6", "GUI", "toggle"),
    "help": ("F1", "HELP", "toggle"),
    "restore": ("F12", "DFLT", "alert"),
    "suspend": ("F4", "SUSP", "toggle"),
    "exit": ("ESC", "EXIT", "alert"),
    "snapshot": ("F7", "SNAP", "once"),
    "torque_up": ("UP", "TRQ+", "latch"),
    "pitch_up": ("E", "PIT+", "latch"),
    "torque_down": ("DOWN", "TRQ-", "latch"),
    "yaw_right": ("S", "YAW>", "latch"),
    "crosshair": ("F3", "AIM", "toggle"),
    "yaw_left": ("D", "<YAW", "latch"),
    "roll_cw": ("C", "ROL>", "latch"),
    "pitch_down": ("W", "PIT-", "latch"),
    "roll_ccw": ("X", "<ROL", "latch"),
    "panic": ("F8", "STOP", "once"),
    "destination": ("F9", "DEST", "toggle"),
    "jump_fast_up": ("P", "JD++", "latch"),
    "jump_slow_up": ("O", "JD+", "latch"),
    "jump_slow_down": ("K", "JD-", "latch"),
    "jump_fast_down": ("L", "JD--", "latch"),
    "fw_level_up": ("U", "FWD+", "latch"),
    "fw_fire_forward": ("R", "GOFW", "latch"),
    "fw_fire_backward": ("T", "GOBK", "latch"),
    "fw_level_down": ("I", "FWD-", "latch"),
    "rt_level_up": ("N", "RT +", "latch"),
    "rt_fire_right": ("V", "GORT", "latch"),
    "rt_fire_left": ("B", "GOLT", "latch"),
    "rt_level_down": ("M", "RT -", "latch"),
    "up_level_up": ("H", "UP +", "latch"),
    "up_fire_down": ("G", "GODN", "latch"),
    "up_fire_up": ("F", "GOUP", "latch"),
    "up_level_down": ("J", "UP -", "latch"),
    "energy": ("A", "ENRG", "once"),
    "jump": ("Q", "JUMP", "once"),
    "hud": ("F2", "HUD", "toggle"),
    "align": ("SPC", "ALGN", "once"),
    "record": ("F5", "REC", "alert"),
}

BUTTON_SIZE = 32  # pixels; every button bitmap is drawn at this size on screen
STEP = 36         # pixels between neighbouring buttons
COLUMNS = [-184, -148, -112, -76, -40]  # x of each column, from the right screen edge
C0, C1, C2, C3, C4 = COLUMNS
R0, R1, R2, R3, R4 = (0, STEP, 2 * STEP, 3 * STEP, 4 * STEP)

# Components: (comment, y offset, [(button, x, y), ...]) with the buttons in binding order.
LIVE = [
    ("show or hide the other controls", 8, [("gui", C4, R0)]),
    ("program: help, restore defaults, suspend, exit, snapshot", 44,
     [("help", C0, R0), ("restore", C3, R0), ("suspend", C1, R0), ("exit", C4, R0),
      ("snapshot", C2, R0)]),
    ("attitude: torque level, pitch, yaw, roll, crosshair, panic stop, destination marker", 92,
     [("torque_up", C4, R0), ("pitch_up", C2, R0), ("torque_down", C4, R1), ("yaw_right", C3, R1),
      ("crosshair", C2, R1), ("yaw_left", C1, R1), ("roll_cw", C3, R0), ("pitch_down", C2, R2),
      ("roll_ccw", C1, R0), ("panic", C1, R2), ("destination", C3, R2)]),
    ("drives: jump distance, thrust levels, thrusters, energy, jump, heads-up display, align", 212,
     [("jump_fast_up", C1, R0), ("jump_slow_up", C2, R0), ("jump_slow_down", C3, R0),
      ("jump_fast_down", C4, R0),
      ("fw_level_up", C1, R1), ("fw_fire_forward", C2, R1), ("fw_fire_backward", C3, R1),
      ("fw_level_down", C4, R1),
      ("rt_level_up", C1, R2), ("rt_fire_right", C2, R2), ("rt_fire_left", C3, R2),
      ("rt_level_down", C4, R2),
      ("up_level_up", C1, R3), ("up_fire_down", C3, R3), ("up_fire_up", C2, R3),
      ("up_level_down", C4, R3),
      ("energy", C1, R4), ("jump", C2, R4), ("hud", C3, R4), ("align", C4, R4)]),
    ("recording", 8, [("record", C3, R0)]),
]

# In replay mode the drives stand left of the attitude group (an x offset and a note as the
# fourth and fifth entries), so that on low screens the controls end above the replay title.
REPLAY = [
    LIVE[0],
    ("program: help, suspend, exit, snapshot", 44,
     [("help", C0, R0), ("suspend", C1, R0), ("exit", C4, R0), ("snapshot", C2, R0)]),
    LIVE[2],
    (LIVE[3][0], LIVE[2][1], LIVE[3][2], -152,  # four columns and a gap further left
     "(left of the attitude group, so that the controls end above the replay title on low screens)"),
]


def icon_path(button, lit):
    return "Media/Icons/gui_%s_%s.bmp" % (button, "on" if lit else "off")
