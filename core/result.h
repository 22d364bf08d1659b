#pragma once

#include <QString>

#include <utility>
#include <variant>

namespace zor {

// Why something could not be done, in German, for the user.
struct Failure
{
    QString reason;
};

// What a step that can fail gives back: its value, or why it failed. Every
// such step in the program answers this way, so a caller always asks ok()
// and finds the reason in the same place.
//
//   Result<QByteArray> encoded = encodeReport(report);
//   if (!encoded)
//       tell(encoded.reason());
template<typename T, typename E = Failure>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::in_place_index<0>, std::move(value))
    { }
    Result(E failure)
        : m_value(std::in_place_index<1>, std::move(failure))
    { }

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_value); }
    T &value() & { return std::get<0>(m_value); }
    T &&value() && { return std::get<0>(std::move(m_value)); }
    const T &operator*() const & { return value(); }
    const T *operator->() const { return &value(); }

    const E &failure() const { return std::get<1>(m_value); }
    // Empty when the step succeeded.
    QString reason() const { return ok() ? QString() : failure().reason; }

private:
    std::variant<T, E> m_value;
};

// A step that gives nothing back but may fail.
template<typename E>
class [[nodiscard]] Result<void, E>
{
public:
    Result() = default;
    Result(E failure)
        : m_failed(true)
        , m_failure(std::move(failure))
    { }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    const E &failure() const { return m_failure; }
    QString reason() const { return ok() ? QString() : m_failure.reason; }

private:
    bool m_failed = false;
    E m_failure;
};

} // namespace zor
