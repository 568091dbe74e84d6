// The on-screen controls: groups of bitmap buttons laid out by guispecs.cfg (live) or
// vcrspecs.cfg (replay). A button lights up under the pointer; a click flips the flag it is bound
// to and swaps the button to its other bitmap. The layout, hovering and clicking work without GL,
// so a run without a window reacts to scripted clicks as a visible run does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gl_device.h"
#include "icon_sprite.h"
#include "sim_state.h"

constexpr uint32_t kGuiDimmedArgb = 0x96FFFFFF;  // a button not under the pointer

// One component as its layout file describes it. The icon lists are only needed while
// the component is built.
struct GuiComponentSpec {
    int32_t hitMode = 0;    // 0: one hit rectangle for the whole component; else 32 x 32 per icon
    float hitHeight = 0;    // hit mode 0 only
    float hitWidth = 0;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    std::vector<std::string> iconFiles;  // relative to the data directory
    std::vector<float> iconSizes;        // pixels; the icon is drawn at 32 / size
    std::vector<Point2f> iconPositions;  // x from the right edge of the screen (negative), y
};

// Icons come in pairs: icon 2k shows while the component's k-th bound flag is 0, icon 2k+1 while
// it is set.
struct GuiComponent {
    std::vector<IconSprite> icons;
    int count() const { return static_cast<int>(icons.size()); }
};

// For every component, the flags of its icon pairs in pair order; a missing entry or a null
// pointer leaves that pair without a flag (a click on it does nothing).
using GuiBindingTable = std::vector<int32_t*>;
std::vector<GuiBindingTable> liveGuiBindings(SimState& state);
std::vector<GuiBindingTable> replayGuiBindings(SimState& state);

// Reads a layout file (guispecs.cfg, vcrspecs.cfg) by the value rules of the object files: "label = value" lines,
// "#" comments, values taken by position until the line whose leading integer is -999. Nothing
// when the file cannot be read or does not hold the values it announces (reason says why).
std::optional<std::vector<GuiComponentSpec>> readGuiSpecFile(const std::string& path,
                                                             std::string* reason = nullptr);

struct GuiLoadResult {
    bool ok = false;
    std::string unreadableFile;  // the layout file could not be read (full path)
    std::string failedIcon;      // an icon could not be loaded (its name as the file gives it)
};

// Reads the file and builds every component for a screen of screenWidthPx: translation, hit
// rectangle, scaling and visibility of each icon. With textures, each icon is loaded as a
// texture (needs the GL context); without, its picture is only read and decoded, so a missing
// or broken icon fails the same way in a run without a window.
GuiLoadResult loadGuiComponents(const std::string& specPath, const std::string& dataDirectory,
                                int screenWidthPx, bool withTextures,
                                std::vector<GuiComponent>& components,
                                std::vector<GuiComponentSpec>& specs);

// Hover test and drawing of one component: every visible icon is hovered when (x, y) lies in its
// hit rectangle, drawn opaque when hovered and dimmed otherwise. device may be null (no drawing).
void updateAndDrawComponent(GuiComponent& component, int cursorX, int cursorY, GlDevice* device);

// The first pair with a hovered icon flips its bound flag (0 becomes 1, anything else 0) and
// shows the icon of the new state; both hovered flags are cleared. Returns the flipped flag, or
// null when no pair is hovered or the pair has no flag.
int32_t* clickComponent(GuiComponent& component, const GuiBindingTable& bindings);

// The components of one run with their binding table; component 0 stays shown while the others
// are hidden (F6).
class GuiControls {
public:
    GuiLoadResult load(const std::string& specPath, const std::string& dataDirectory, int screenWidthPx,
                       bool withTextures, std::vector<GuiBindingTable> bindings);
    void release();
    bool loaded() const { return !components_.empty(); }

    // Hovers and draws the shown components with the pointer at (x, y).
    void draw(GlDevice& device, int cursorX, int cursorY, bool guiHidden);
    // A left click at (x, y): every shown component is hovered at the click point and offered
    // the click. Returns the flags that were flipped, in component order.
    std::vector<int32_t*> click(int x, int y, bool guiHidden);

    const std::vector<GuiComponent>& components() const { return components_; }
    const std::vector<GuiComponentSpec>& specs() const { return specs_; }

private:
    bool shown(size_t index, bool guiHidden) const { return index == 0 || !guiHidden; }

    std::vector<GuiComponent> components_;
    std::vector<GuiComponentSpec> specs_;
    std::vector<GuiBindingTable> bindings_;
};
