#pragma once
// What the text tables and the dialog helpers need to know of a window and
// its controls, without any toolkit. The window views implement these for
// their own widgets; the tests implement them with plain records.
#include <optional>
#include <string>
#include <vector>

namespace galvora {

enum class ControlKind { Other, PictureBox, Frame };

class WindowControl {
public:
    virtual ~WindowControl() = default;

    virtual ControlKind kind() const { return ControlKind::Other; }
    virtual std::string tag() const { return {}; }

    // A control without a caption property answers nullopt.
    virtual std::optional<std::string> caption() const { return std::nullopt; }
    virtual void set_caption(const std::string&) {}

    // The frame or picture box the control sits in; nullptr when it sits on
    // the window itself or has no container property.
    virtual const WindowControl* container() const { return nullptr; }

    virtual bool has_enabled() const { return false; }
    virtual void set_enabled(bool) {}

    virtual bool has_font() const { return false; }
    virtual void set_font_name(const std::string&) {}
};

class ControlWindow {
public:
    virtual ~ControlWindow() = default;

    // The window's name: the section of its texts.
    virtual std::string name() const = 0;
    virtual std::string tag() const { return {}; }
    virtual std::string caption() const = 0;
    virtual void set_caption(const std::string& text) = 0;
    virtual std::vector<WindowControl*> controls() = 0;

    // Suspends (false) or resumes (true) drawing; resuming redraws the window
    // with all its children. Views without such a switch ignore it.
    virtual void set_redraw(bool) {}
};

}  // namespace galvora
