#pragma once

// Declarations of the ground's interfaces, for headers that only hold
// references to them.
namespace vantorel::base {
class Clock;
class OperatorMessages;
class RunLog;
struct LocalDateTime;
}  // namespace vantorel::base
