#pragma once

// A host that fails on purpose: wraps any word::Application (and the Selection, Find and Document handles it
// gives out) and makes the n-th automation call from now fail with an AutomationError before it reaches the
// host, as a host that stops answering would. For hosts without fault injection of their own.

#include "word/automation.h"

#include <cstddef>
#include <exception>
#include <string>

namespace testsupport
{

class FaultyHost : public word::Application
{
public:
    explicit FaultyHost(word::Application &inner);

    /// Make the n-th call from now (1 = the next) fail with description; 0 switches it off.
    void failAtCall(std::size_t n, std::string description);
    /// Make the n-th call from now throw error, whatever it is (memory running out, a library's own error).
    void failAtCall(std::size_t n, std::exception_ptr error);
    /// The calls made through this wrapper so far.
    std::size_t calls() const;

    word::HostNames names() const override;
    int32_t DocumentsCount() override;
    std::unique_ptr<word::Selection> selection() override;
    std::unique_ptr<word::Document> activeDocument() override;
    void ScreenRefresh() override;
    void Quit() override;
    void StartUndoGroup(const std::string &name) override;
    void EndUndoGroup() override;
    void UndoLastGroup() override;

    /// One call: counted, and failed when its turn has come.
    void call();

private:
    word::Application &m_inner;
    std::size_t m_calls = 0;
    std::size_t m_failAt = 0;
    std::exception_ptr m_error;
};

} // namespace testsupport
