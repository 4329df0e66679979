// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

// Without a way to find another instance, every start runs.
struct SingleInstance::Impl
{};

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{}
SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    return true;
}

bool SingleInstance::activateRunningInstance()
{
    return false;
}
