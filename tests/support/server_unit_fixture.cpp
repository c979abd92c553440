#include "server_unit_fixture.h"

#include <algorithm>
#include <vector>

#include "app/shared_state.h"
#include "ui/units.h"

namespace quorvant::test {

namespace {
constexpr int EVENT_WAIT_MILLISECONDS = 5000;
}

bool ServerHolds(const PhoneId& id) {
  PhoneServer* server = 服务器1();
  if (server == nullptr) return false;
  const std::vector<PhoneId> ids = server->ConnectionIds();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void ServerUnitTest::SetUp() {
  ResetSharedState();
  CreateServerUnit(events, 0);
  ASSERT_TRUE(服务器1()->IsListening());
}

void ServerUnitTest::TearDown() {
  DestroyServerUnit();
  ResetSharedState();
}

std::uint16_t ServerUnitTest::Port() const { return 服务器1()->ListeningPort(); }

std::unique_ptr<LoopbackPhone> ServerUnitTest::ConnectPhone(const std::string& sourceAddress) {
  auto phone = std::make_unique<LoopbackPhone>(sourceAddress, Port());
  EXPECT_TRUE(phone->Connected()) << "from " << sourceAddress;
  const PhoneId id = phone->Id();
  EXPECT_TRUE(events.RunUntil([&] { return ServerHolds(id); }, EVENT_WAIT_MILLISECONDS))
      << id << " was not accepted";
  return phone;
}

void ServerUnitTest::Disconnect(LoopbackPhone& phone) {
  const PhoneId id = phone.Id();
  phone.Close();
  EXPECT_TRUE(events.RunUntil([&] { return !ServerHolds(id); }, EVENT_WAIT_MILLISECONDS))
      << id << " was not seen to leave";
}

}  // namespace quorvant::test
