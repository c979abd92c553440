#pragma once

namespace quorvant {

// Every tick of 时钟1: shows in 安全计时 whether a dial would go through now,
// or how many whole seconds are left to wait.
void GuardTick();

}  // namespace quorvant
