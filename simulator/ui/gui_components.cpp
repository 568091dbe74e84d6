// Reading the control layout files, building the components, hovering, drawing and clicking,
// and the live and replay binding tables.
#include "gui_components.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "float_format.h"
#include "text_file.h"

namespace {

constexpr int32_t kSpecTerminator = -999;
constexpr int32_t kHitSquarePx = 32;
constexpr float kIconReferencePx = 32;
// More icons than this in one component is a damaged file, not a layout.
constexpr int32_t kMaxIconsPerComponent = 1000;

// A float position or size as a pixel: truncated toward zero, clamped to the integer range
// ("na" reads as the largest float).
int32_t truncatePx(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483520.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t addPx(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

// The values of the file in order, taken from every non-comment line before the terminator.
class ValueReader {
public:
    explicit ValueReader(std::vector<std::string> values) : values_(std::move(values)) {}
    bool next(std::string_view& out) {
        if (next_ >= values_.size()) return false;
        out = values_[next_++];
        return true;
    }
    bool nextInt(int32_t& out) {
        std::string_view v;
        if (!next(v)) return false;
        out = parseIntItem(v);
        return true;
    }
    bool nextFlag(int32_t& out) {
        std::string_view v;
        if (!next(v)) return false;
        out = v == "na" ? 0 : parseLeadingInt(v);
        return true;
    }
    bool nextFloat(float& out) {
        std::string_view v;
        if (!next(v)) return false;
        out = parseFloatItem(v);
        return std::isfinite(out);  // a value beyond the float range is a damaged file
    }
    size_t position() const { return next_; }

private:
    std::vector<std::string> values_;
    size_t next_ = 0;
};

void toggleFlag(int32_t& flag) { flag = flag == 0 ? 1 : 0; }

}  // namespace

std::vector<GuiBindingTable> liveGuiBindings(SimState& s) {
    ControlLatches& l = s.latches;
    DisplayFlags& f = s.flags;
    return {
        {&f.guiHidden},
        {&f.keyboardHelpShown, &f.restorePromptShown, &f.suspended, &f.exitOnClick, &f.snapshotRequest},
        {&l[kTorqueUp], &l[kPitchUp], &l[kTorqueDown], &l[kYawRight], &l[kCrosshairShown], &l[kYawLeft],
         &l[kRollClockwise], &l[kPitchDown], &l[kRollCounterClockwise], &l[kPanic], &l[kDestinationHidden]},
        {&l[kDistanceFastUp], &l[kDistanceSlowUp], &l[kDistanceSlowDown], &l[kDistanceFastDown],
         &l[kForwardThrustUp], &l[kForwardThrusterForward], &l[kForwardThrusterBackward],
         &l[kForwardThrustDown], &l[kRightThrustUp], &l[kRightThrusterRight], &l[kRightThrusterLeft],
         &l[kRightThrustDown], &l[kUpThrustUp], &l[kUpThrusterDown], &l[kUpThrusterUp], &l[kUpThrustDown],
         &l[kRestoreEnergy], &l[kJump], &l[kHudHidden], &l[kAlign]},
        {&f.recordingOn},
    };
}

std::vector<GuiBindingTable> replayGuiBindings(SimState& s) {
    std::vector<GuiBindingTable> table = liveGuiBindings(s);
    table[1] = {&s.flags.keyboardHelpShown, &s.flags.suspended, &s.flags.exitOnClick, &s.flags.snapshotRequest};
    // Every frame line of the recording sets all latches, so a click on a latch would be undone
    // before anything sees it. The crosshair and the destination marker instead flip what the
    // recording shows, for the viewer.
    table[2][4] = &s.flags.replayCrosshairFlipped;
    table[2][10] = &s.flags.replayDestinationFlipped;
    table.pop_back();  // no recording in replay mode
    return table;
}

std::optional<std::vector<GuiComponentSpec>> readGuiSpecFile(const std::string& path, std::string* reason) {
    auto fail = [&](std::string why) -> std::optional<std::vector<GuiComponentSpec>> {
        if (reason) *reason = std::move(why);
        return std::nullopt;
    };
    std::string contents;
    if (!readWholeFile(path, contents)) return fail("the file cannot be read");
    std::vector<std::string> values;
    for (const TextLine& line : splitLines(contents)) {
        std::string_view text = line.text;
        if (!text.empty() && text.front() == '#') continue;
        bool hasDigits = false;
        if (parseLeadingInt(text, &hasDigits) == kSpecTerminator && hasDigits) break;
        const size_t equals = text.find('=');
        const size_t start = equals == std::string_view::npos ? text.size() : equals + 2;
        values.emplace_back(start <= text.size() ? text.substr(start) : std::string_view());
    }

    ValueReader in(std::move(values));
    auto missing = [&](const char* what) {
        return fail("value " + std::to_string(in.position() + 1) + " (" + what + ") is missing or not a number");
    };
    int32_t componentCount = 0;
    if (!in.nextInt(componentCount) || componentCount < 0 || componentCount > kMaxIconsPerComponent)
        return missing("number of components");
    std::vector<GuiComponentSpec> specs(static_cast<size_t>(componentCount));
    for (GuiComponentSpec& spec : specs) {
        int32_t iconCount = 0;
        if (!in.nextFlag(spec.hitMode)) return missing("hit mode");
        if (!in.nextFloat(spec.hitHeight)) return missing("hit height");
        if (!in.nextFloat(spec.hitWidth)) return missing("hit width");
        if (!in.nextInt(spec.xOffset)) return missing("x offset");
        if (!in.nextInt(spec.yOffset)) return missing("y offset");
        if (!in.nextInt(iconCount) || iconCount < 0 || iconCount > kMaxIconsPerComponent)
            return missing("number of icons");
        const size_t n = static_cast<size_t>(iconCount);
        spec.iconFiles.resize(n);
        spec.iconSizes.resize(n);
        spec.iconPositions.resize(n);
        for (std::string& file : spec.iconFiles) {
            std::string_view v;
            // An empty name would name the data directory itself, and an error without a name.
            if (!in.next(v) || v.empty()) return missing("icon file");
            file = std::string(v);
        }
        for (float& size : spec.iconSizes)
            if (!in.nextFloat(size) || !(size > 0)) return missing("icon size");
        for (Point2f& p : spec.iconPositions)
            if (!in.nextFloat(p.x) || !in.nextFloat(p.y)) return missing("icon position");
    }
    return specs;
}

GuiLoadResult loadGuiComponents(const std::string& specPath, const std::string& dataDirectory, int screenWidthPx,
                                bool withTextures, std::vector<GuiComponent>& components,
                                std::vector<GuiComponentSpec>& specs) {
    GuiLoadResult result;
    components.clear();
    specs.clear();
    std::optional<std::vector<GuiComponentSpec>> read = readGuiSpecFile(specPath);
    if (!read) {
        result.unreadableFile = specPath;
        return result;
    }
    specs = std::move(*read);
    components.resize(specs.size());
    for (size_t c = 0; c < specs.size(); ++c) {
        GuiComponentSpec& spec = specs[c];
        GuiComponent& component = components[c];
        component.icons.resize(spec.iconFiles.size());
        for (size_t j = 0; j < spec.iconFiles.size(); ++j) {
            IconSprite& icon = component.icons[j];
            const std::string path = dataDirectory + spec.iconFiles[j];
            const bool loaded = withTextures ? icon.loadIcon(path)
                                             : loadIconImage(path, kIconDefaultColourKey).has_value();
            if (!loaded) {
                result.failedIcon = spec.iconFiles[j];
                components.clear();
                return result;
            }
            // Icons are placed from the right edge of the screen.
            const float x = static_cast<float>(screenWidthPx) + spec.iconPositions[j].x;
            const float y = spec.iconPositions[j].y;
            icon.setTranslation(static_cast<float>(spec.xOffset) + x, static_cast<float>(spec.yOffset) + y);
            if (spec.hitMode != 0) {
                const int32_t left = addPx(truncatePx(x), spec.xOffset);
                const int32_t top = addPx(truncatePx(y), spec.yOffset);
                icon.hitRect = {left, top, addPx(left, kHitSquarePx), addPx(top, kHitSquarePx)};
            } else {
                icon.hitRect = {spec.xOffset, spec.yOffset, addPx(spec.xOffset, truncatePx(spec.hitWidth)),
                                addPx(spec.yOffset, truncatePx(spec.hitHeight))};
            }
            const float scale = kIconReferencePx / spec.iconSizes[j];
            icon.setScaling(scale, scale);
            icon.visible = j % 2 == 0;
        }
        // The lists are only needed while building.
        spec.iconFiles.clear();
        spec.iconSizes.clear();
        spec.iconPositions.clear();
    }
    result.ok = true;
    return result;
}

void updateAndDrawComponent(GuiComponent& component, int cursorX, int cursorY, GlDevice* device) {
    for (IconSprite& icon : component.icons) {
        if (!icon.visible) continue;
        icon.updateHover(cursorX, cursorY);
        icon.setModulateColour(icon.hovered ? kIconOpaqueWhite : kGuiDimmedArgb);
        if (device) icon.drawIcon(*device);
    }
}

int32_t* clickComponent(GuiComponent& component, const GuiBindingTable& bindings) {
    const size_t pairs = component.icons.size() / 2;
    for (size_t k = 0; k < pairs; ++k) {
        IconSprite& off = component.icons[2 * k];
        IconSprite& on = component.icons[2 * k + 1];
        if (!off.hovered && !on.hovered) continue;
        off.hovered = on.hovered = false;
        int32_t* flag = k < bindings.size() ? bindings[k] : nullptr;
        if (!flag) return nullptr;  // a pair without a flag does nothing
        toggleFlag(*flag);
        off.visible = *flag == 0;
        on.visible = *flag != 0;
        return flag;
    }
    return nullptr;
}

GuiLoadResult GuiControls::load(const std::string& specPath, const std::string& dataDirectory, int screenWidthPx,
                                bool withTextures, std::vector<GuiBindingTable> bindings) {
    release();
    bindings_ = std::move(bindings);
    return loadGuiComponents(specPath, dataDirectory, screenWidthPx, withTextures, components_, specs_);
}

void GuiControls::release() {
    for (GuiComponent& component : components_)
        for (IconSprite& icon : component.icons) icon.release();
    components_.clear();
    specs_.clear();
    bindings_.clear();
}

void GuiControls::draw(GlDevice& device, int cursorX, int cursorY, bool guiHidden) {
    for (size_t c = 0; c < components_.size(); ++c)
        if (shown(c, guiHidden)) updateAndDrawComponent(components_[c], cursorX, cursorY, &device);
}

std::vector<int32_t*> GuiControls::click(int x, int y, bool guiHidden) {
    std::vector<int32_t*> flipped;
    static const GuiBindingTable kNone;
    for (size_t c = 0; c < components_.size(); ++c) {
        if (!shown(c, guiHidden)) continue;
        // The pointer is where the click is, whatever the last drawn frame saw.
        updateAndDrawComponent(components_[c], x, y, nullptr);
        if (int32_t* flag = clickComponent(components_[c], c < bindings_.size() ? bindings_[c] : kNone))
            flipped.push_back(flag);
    }
    return flipped;
}
