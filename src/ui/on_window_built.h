#pragma once

namespace quorvant {

// Runs once, after the units exist and before the window is shown: shows the
// local address in 标签1 and prepares dialling.
void OnWindowBuilt();

}  // namespace quorvant
