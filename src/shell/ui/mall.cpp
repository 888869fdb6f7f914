#include "mall.h"

#include "services/Operator.h"

Tmall::Tmall(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("mall"));
}

void Tmall::Register(TCommand command, TOpener opener)
{
    if (opener)
        m_openers[command] = std::move(opener);
    else
        m_openers.erase(command);
}

bool Tmall::Available(TCommand command) const
{
    return m_openers.count(command) > 0;
}

int Tmall::RequiredRight(TCommand command)
{
    switch (command) {
    case cmCompanyInfo:
        return 10000;
    case cmOperators:
        return 100001;
    case cmClearData:
        return 12;
    case cmBackup:
        return 10005;
    case cmUpgrade:
        return -1;
    default:
        return 0;
    }
}

void Tmall::Run(TCommand command)
{
    const auto it = m_openers.find(command);
    if (it == m_openers.end())
        return;
    const int right = RequiredRight(command);
    if (right < 0)
        gOperator->RequireSa();
    else if (right > 0)
        gOperator->RequireRight(right, true);
    // The opener may re-register commands; call a copy.
    const TOpener opener = it->second;
    opener();
}
