#pragma once

#include <QThread>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

class FakeLogindManager;

// A stand-in for systemd-logind: owns org.freedesktop.login1 on the given bus and serves
// /org/freedesktop/login1, interface org.freedesktop.login1.Manager, method PowerOff(b) from a
// thread of its own, writing down every call. Leaving releases the name.
class FakeLogind {
public:
    enum class Answer {
        Reply,  // answers every call at once, as logind does when polkit allows it
        Never,  // holds every call unanswered, as logind does while polkit waits for a password
        Refuse, // answers every call with AccessDenied "Permission denied", as when polkit's policy says no
    };

    explicit FakeLogind(const std::string& busAddress, Answer answer = Answer::Reply);
    ~FakeLogind();
    FakeLogind(const FakeLogind&) = delete;
    FakeLogind& operator=(const FakeLogind&) = delete;

    // The interactive argument of each PowerOff call so far, in order of arrival.
    std::vector<bool> PowerOffCalls() const;

    // Processes the calling thread's events until count calls have arrived or the limit has passed;
    // says whether they arrived.
    bool WaitForPowerOffCalls(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

private:
    QThread thread_;
    std::unique_ptr<FakeLogindManager> manager_;
};

} // namespace velmora::test
