#pragma once

#include "data/Database.h"
#include "data/Dialect.h"
#include "data/MessageService.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

// Answers message boxes, input boxes and file dialogs from a script and records what was shown.
class TScriptedMessages final : public TMessageService
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    std::vector<Shown> messages;
    std::deque<Answer> answers;    // next answers; empty: OK / Yes
    std::deque<QString> inputs;    // next input-box values; empty: cancelled
    std::deque<QString> fileNames; // next file-dialog results; empty: cancelled
    QStringList openedUrls;
    QStringList startedPrograms;
    bool openUrlResult = true;

    void setNextAnswer(Answer a) { answers.push_back(a); }
    QString lastText() const { return messages.empty() ? QString() : messages.back().text; }
    QStringList texts() const;

    Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    bool InputBox(const QString& caption, const QString& prompt, QString& value) override;
    QString OpenFileName(const QString& caption, const QString& filter, const QString& dir) override;
    QString SaveFileName(const QString& caption, const QString& filter, const QString& dir) override;
    QString DirectoryName(const QString& caption, const QString& dir) override;
    bool OpenUrl(const QString& fileOrUrl) override;
    bool StartProgram(const QString& program, const QStringList& args) override;
};

// The engines the database tests run on: SQLite always, PostgreSQL when CZ_TEST_PG names a server.
std::vector<TEngine> TestEngines();
std::string EngineName(const ::testing::TestParamInfo<TEngine>& info);

// A fresh home directory and a fresh database made from the schema, installed as gDatabase
// and gRecordSet, with scripted messages; everything is undone at the end.
class TTestEnv
{
public:
    explicit TTestEnv(TEngine engine = TEngine::Sqlite);
    ~TTestEnv();
    TTestEnv(const TTestEnv&) = delete;
    TTestEnv& operator=(const TTestEnv&) = delete;

    QString home() const { return m_home.path(); }
    QString connectionString() const { return m_connStr; }
    TScriptedMessages& messages() { return *m_messages; }
    TEngine engine() const { return m_engine; }

private:
    QTemporaryDir m_home;
    TEngine m_engine;
    QString m_connStr;
    QString m_pgDatabase;
    TScriptedMessages* m_messages = nullptr;
    std::unique_ptr<TMessageService> m_previousMessages;
};

// Base fixture of the database tests, parameterised by engine.
class TEngineTest : public ::testing::TestWithParam<TEngine>
{
protected:
    void SetUp() override { env = std::make_unique<TTestEnv>(GetParam()); }
    void TearDown() override { env.reset(); }
    TScriptedMessages& messages() { return env->messages(); }
    std::unique_ptr<TTestEnv> env;
};

// Fixture for tests that need the single-file database only.
class TSqliteTest : public ::testing::Test
{
protected:
    void SetUp() override { env = std::make_unique<TTestEnv>(TEngine::Sqlite); }
    void TearDown() override { env.reset(); }
    TScriptedMessages& messages() { return env->messages(); }
    std::unique_ptr<TTestEnv> env;
};

#define CZ_INSTANTIATE_ENGINES(Fixture)                                                                      \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture, ::testing::ValuesIn(TestEngines()), EngineName)
