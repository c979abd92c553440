// The program's pieces as most tests need them: a fake desktop installed, the
// shared state as it stands before start-up, a poll loop, and the server unit
// 服务器1 listening on a free loopback port with its handlers bound.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "fake_desktop.h"
#include "loopback_phone.h"
#include "poll_socket_events.h"

namespace quorvant::test {

class ServerUnitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::uint16_t Port() const;
  // A phone from `sourceAddress`, once 服务器1 has accepted it (its
  // ClientEntered handler has run).
  std::unique_ptr<LoopbackPhone> ConnectPhone(const std::string& sourceAddress);
  // Closes the phone's side and runs the loop until 服务器1 saw it go.
  void Disconnect(LoopbackPhone& phone);

  FakeDesktop desktop;
  ScopedDesktop installed{desktop};
  PollSocketEvents events;
};

// Whether the server unit holds a connection with this id.
bool ServerHolds(const PhoneId& id);

}  // namespace quorvant::test
