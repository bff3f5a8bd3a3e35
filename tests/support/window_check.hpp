// One check of a built window against the window description, for both windows: each
// window's test reads what its toolkit built for a component into a BuiltComponent, and
// DescriptionMismatches names every difference from the description's row.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "editor/window_description.hpp"

namespace ravlet::test {

// What a window built for one component, as its toolkit reports it. Texts are UTF-8;
// the place is in pixels, relative to the container as the description measures it.
struct BuiltComponent {
    bool found = false;
    bool kindMatches = false;  // the toolkit's widget for the component's kind
    std::string container;     // the parent's component name, "Form1" for the window
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    std::string toolTip;
    std::string accessibleName;
    std::string accessibleDescription;
    std::string fontFamily;  // "" when the component keeps the dialog font
    double pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool systemColour = true;
    int red = 0, green = 0, blue = 0;
    bool enabled = false;
    bool visible = false;
};

// Every difference between what was built and the description at `dpi`, one line each;
// empty when the window is the description. The label may be wider than described
// (it grows to its one line), never narrower.
inline std::vector<std::string> DescriptionMismatches(
    const std::function<BuiltComponent(const window::Component&)>& read, int dpi) {
    std::vector<std::string> out;
    for (const window::Component& c : window::kComponents) {
        const BuiltComponent b = read(c);
        const std::string at = std::string(c.name) + ": ";
        const auto expect = [&](bool ok, const std::string& what) {
            if (!ok) out.push_back(at + what);
        };
        if (!b.found) {
            out.push_back(at + "not built");
            continue;
        }
        const auto px = [dpi](int twips) { return window::Pixels(twips, dpi); };
        expect(b.kindMatches, "another kind of widget");
        expect(b.container == c.container, "in " + b.container + ", not " + c.container);
        expect(b.left == px(c.left) && b.top == px(c.top),
               "at " + std::to_string(b.left) + "," + std::to_string(b.top) + ", not " +
                   std::to_string(px(c.left)) + "," + std::to_string(px(c.top)));
        const bool widthOk =
            c.kind == window::Kind::Label ? b.width >= px(c.width) : b.width == px(c.width);
        expect(widthOk && b.height == px(c.height),
               "size " + std::to_string(b.width) + "x" + std::to_string(b.height) + ", not " +
                   std::to_string(px(c.width)) + "x" + std::to_string(px(c.height)));
        expect(b.caption == c.caption, "caption \"" + b.caption + "\"");
        expect(b.toolTip == c.toolTip, "tooltip \"" + b.toolTip + "\"");
        expect(b.accessibleName == c.accessibleName,
               "accessible name \"" + b.accessibleName + "\"");
        expect(b.accessibleDescription == c.toolTip,
               "accessible description \"" + b.accessibleDescription + "\"");
        if (std::string_view(c.font.family) != window::kDialogFont.family) {
            expect(b.fontFamily == c.font.family &&
                       std::abs(b.pointSize - c.font.pointSize) < 0.01 && b.bold == c.font.bold &&
                       b.italic == c.font.italic,
                   "font " + b.fontFamily + " " + std::to_string(b.pointSize));
        } else {
            expect(b.fontFamily.empty(), "font " + b.fontFamily + ", not the dialog font");
        }
        expect(b.systemColour == c.colour.system &&
                   (c.colour.system || (b.red == c.colour.red && b.green == c.colour.green &&
                                        b.blue == c.colour.blue)),
               "another text colour");
        // Design state: everything visible and enabled.
        expect(b.enabled && b.visible, "hidden or disabled");
    }
    return out;
}

}  // namespace ravlet::test
