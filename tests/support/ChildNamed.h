// Finding a window's control by its objectName the way a test should: a missing one fails the test.
#pragma once

#include <QObject>
#include <QString>
#include <QTest>

/// The child of parent called name. When there is none (a control renamed or never built) the
/// test fails here, naming it, and gets a stand-in to go on with instead of a null pointer that
/// would bring down every test after it.
template<typename T> T* child(QObject* parent, const QString& name)
{
    T* found = parent != nullptr ? parent->findChild<T*>(name) : nullptr;
    if (found != nullptr) {
        return found;
    }
    if (!QTest::currentTestFailed()) {
        QTest::qFail(qPrintable(QStringLiteral("no child named %1").arg(name)), __FILE__, __LINE__);
    }
    auto* standIn = new T();
    standIn->setObjectName(QStringLiteral("stand-in for ") + name);
    if (parent != nullptr) {
        QObject::connect(parent, &QObject::destroyed, [standIn] { delete standIn; });
    }
    return standIn;
}

template<typename T> T* child(QObject* parent, const char* name)
{
    return child<T>(parent, QString::fromLatin1(name));
}
