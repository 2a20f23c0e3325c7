#include "print_service/dcmtk/pending_connections.h"

namespace vantorel::print_service {

void PendingConnections::add(std::shared_ptr<SocketGuard> guard, std::uint64_t acceptor)
{
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back({std::move(guard), acceptor, Outcome::Read});
}

PendingConnections::Outcome PendingConnections::remove(const std::shared_ptr<SocketGuard>& guard)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->guard == guard) {
            const Outcome outcome = it->outcome;
            entries_.erase(it);
            return outcome;
        }
    }
    return Outcome::Read;
}

std::size_t PendingConnections::waiting() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t count = 0;
    for (const Entry& entry : entries_)
        count += entry.outcome == Outcome::Read ? 1 : 0;
    return count;
}

void PendingConnections::cut(Entry& entry, Outcome why)
{
    if (entry.outcome != Outcome::Read)
        return;
    entry.outcome = why;
    entry.guard->cut();
}

void PendingConnections::cutOlderThan(std::chrono::steady_clock::duration limit)
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    for (Entry& entry : entries_)
        if (now - entry.guard->acceptedAt() >= limit)
            cut(entry, Outcome::TooSlow);
}

void PendingConnections::makeRoomBelow(std::size_t bound)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t waiting = 0;
    for (const Entry& entry : entries_)
        waiting += entry.outcome == Outcome::Read ? 1 : 0;
    for (Entry& entry : entries_) {
        if (waiting < bound)
            break;
        if (entry.outcome == Outcome::Read) {
            cut(entry, Outcome::Crowded);
            --waiting;
        }
    }
}

void PendingConnections::cutAllOf(std::uint64_t acceptor)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (Entry& entry : entries_)
        if (entry.acceptor == acceptor)
            cut(entry, Outcome::Stopping);
}

}  // namespace vantorel::print_service
