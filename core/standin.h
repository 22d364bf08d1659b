#pragma once

namespace zor {

// What the user or the system owns (the dialogs a person answers, the
// printer, the desktop's programs, the disk a save goes to) is reached
// through one interface each. The interface T derives from Replaceable<T>
// and names its real implementation in `static T &real()`. Tests put a
// stand-in in place for as long as a StandIn<T> lives; the program never does.
template<typename T>
class StandIn;

template<typename T>
class Replaceable
{
public:
    Replaceable() = default;
    virtual ~Replaceable() = default;
    Replaceable(const Replaceable &) = delete;
    Replaceable &operator=(const Replaceable &) = delete;

    // The stand-in in place, else the real one.
    static T &current()
    {
        T *standIn = slot();
        return standIn ? *standIn : T::real();
    }

private:
    friend class StandIn<T>;
    static T *&slot()
    {
        static T *standIn = nullptr;
        return standIn;
    }
};

template<typename T>
class StandIn
{
public:
    explicit StandIn(T &standIn)
        : m_previous(Replaceable<T>::slot())
    {
        Replaceable<T>::slot() = &standIn;
    }
    ~StandIn() { Replaceable<T>::slot() = m_previous; }
    StandIn(const StandIn &) = delete;
    StandIn &operator=(const StandIn &) = delete;

private:
    T *m_previous;
};

} // namespace zor
