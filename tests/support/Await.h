#pragma once

#include <QCoro/QCoroTask>

// Runs a coroutine to completion on a nested event loop, as the tests' way of awaiting.
template <class T>
T await(QCoro::Task<T>&& task) {
    return QCoro::waitFor(std::move(task));
}

inline void await(QCoro::Task<>&& task) { QCoro::waitFor(std::move(task)); }
