// What the ClientEntered and ClientLeft handlers cost with many phones
// listed. The handlers ask the real server for CurrentClient, which names a
// phone only while one of its events is delivered: the measuring loop runs
// inside the DataArrived event of a real loopback phone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "app/shared_state.h"
#include "link/phone_list.h"
#include "link/phone_server.h"
#include "loopback_phone.h"
#include "poll_socket_events.h"
#include "quiet_desktop.h"

namespace quorvant {
namespace {

using HandlerUnderTest = void (*)(PhoneServer&);

void MeasureHandlerWithListed(benchmark::State& state, HandlerUnderTest handler) {
  bench::QuietDesktop desktop;
  Desktop* const previous = InstalledDesktop();
  InstallDesktop(&desktop);
  ResetSharedState();

  test::PollSocketEvents events;
  std::unique_ptr<PhoneServer> server;
  bool measured = false;
  server = std::make_unique<PhoneServer>(events,
                                         PhoneServerHandlers{[&] {
                                                               for (auto _ : state) {
                                                                 handler(*server);
                                                               }
                                                               measured = true;
                                                             },
                                                             nullptr, nullptr},
                                         0);
  server->StartListening();
  test::LoopbackPhone phone("127.0.0.2", server->ListeningPort());

  // Other phones, all at addresses of their own.
  for (long i = 0; i < state.range(0); ++i) {
    char id[32];
    std::snprintf(id, sizeof id, "10.%ld.%ld.%ld:40000", i / 65536 % 256, i / 256 % 256, i % 256);
    PhoneList.emplace_back(id);
  }
  phone.Send("x");
  events.RunUntil([&] { return measured; }, 5000);
  if (!measured) state.SkipWithError("the phone's event did not arrive");
  state.SetComplexityN(state.range(0));

  server.reset();
  ResetSharedState();
  InstallDesktop(previous);
}

void BM_ClientEntered(benchmark::State& state) { MeasureHandlerWithListed(state, OnClientEntered); }
BENCHMARK(BM_ClientEntered)->RangeMultiplier(8)->Range(1, 4096)->Complexity();

void BM_ClientLeft(benchmark::State& state) { MeasureHandlerWithListed(state, OnClientLeft); }
BENCHMARK(BM_ClientLeft)->RangeMultiplier(8)->Range(1, 4096)->Complexity();

}  // namespace
}  // namespace quorvant
