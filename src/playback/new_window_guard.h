#pragma once

namespace zedade {

class HtmlViewer;

// The main browser's answer to a page that asks for a new window: the same browser goes to the
// address the window was to show (its status text, the hovered link's address) and the window is
// refused. Without a status text the browser stays on its page: an empty address would blank the
// video that is playing.
bool OpenNewWindowInPlace(HtmlViewer& browser);

}  // namespace zedade
