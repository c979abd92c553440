// The server's read path: a phone sends a burst, the loop drains it. Reports
// the bytes carried per DataArrived notification next to the throughput.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "link/phone_server.h"
#include "loopback_phone.h"
#include "poll_socket_events.h"

namespace quorvant {
namespace {

void BM_ReadPath(benchmark::State& state) {
  const std::string burst(static_cast<std::size_t>(state.range(0)), '5');
  test::PollSocketEvents events;
  std::size_t received = 0;
  std::int64_t notifications = 0;
  std::unique_ptr<PhoneServer> server;
  server = std::make_unique<PhoneServer>(events,
                                         PhoneServerHandlers{[&] {
                                                               received +=
                                                                   server->CurrentData().size();
                                                               ++notifications;
                                                             },
                                                             nullptr, nullptr},
                                         0);
  server->StartListening();
  test::LoopbackPhone phone("127.0.0.2", server->ListeningPort());

  for (auto _ : state) {
    received = 0;
    if (!phone.Send(burst)) {
      state.SkipWithError("the phone could not send");
      break;
    }
    if (!events.RunUntil([&] { return received == burst.size(); }, 10000)) {
      state.SkipWithError("the burst was not drained");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["bytes_per_notification"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)) /
                         static_cast<double>(notifications > 0 ? notifications : 1));
  state.counters["notifications_per_burst"] = benchmark::Counter(
      static_cast<double>(notifications) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ReadPath)->RangeMultiplier(8)->Range(16, 1 << 20)->UseRealTime();

}  // namespace
}  // namespace quorvant
