#include "platform/IdleTime.h"

// Without a way to ask, the user never counts as idle.
struct IdleTime::Impl
{};

IdleTime::IdleTime(QObject* parent) : QObject(parent)
{}
IdleTime::~IdleTime() = default;

double IdleTime::seconds()
{
    return 0;
}

bool IdleTime::idleInhibited()
{
    return false;
}
