// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case folder: the record in case.sqlite (Qt SQL's SQLite driver, write-ahead log), the
// captured files in captures/, and case.lock held while the case is open for writing.
#include "CaseFolder.h"
#include "CaseStore.h"

#include <QSqlDatabase>

class QSqlQuery;

namespace Cases {

class SqliteCaseStore : public CaseStore
{
public:
    enum class Access { Write, ReadOnly };

    // Opens the case in `folder`. Write creates the case when the folder is missing or empty
    // and holds the folder's lock until the store is destroyed: CaseLockedError when another
    // program holds it, CaseOpenError naming the reason when the folder is not a case of this
    // program, is damaged or comes from a newer version. ReadOnly takes no lock and never writes.
    static std::unique_ptr<SqliteCaseStore> open(const QString &folder, Access access);
    // Makes the folder, which must be new or empty, a copy of another case: its identity and its
    // entries as they are, the captures' files beside them; whole or not at all.
    static std::unique_ptr<SqliteCaseStore> createCopy(const QString &folder, const CaseInfo &identity,
                                                       const CopySource &source);
    ~SqliteCaseStore() override;

    CaseInfo info() const override { return m_info; }
    bool isReadOnly() const override { return m_access == Access::ReadOnly; }
    CaseEntry append(CaseEntry entry) override;
    CaseEntry appendCapture(CaseEntry entry, const QString &writtenFile) override;
    QString scratchPath(const QString &extension) const override;
    void read(const std::function<void(const CaseEntry &)> &visit, Order order = Order::Sequence,
              const QString &kind = {}) const override;
    ChainHead head() const override;
    void snapshot(const std::function<void()> &work) const override;
    std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const override;
    CaseEntry appendStamp(CaseEntry entry, const QByteArray &answer) override; // SqliteStamps.cpp
    QByteArray readStamp(const CaseEntry &stamp, QString &problem) const override;

    // SQLite's full check of the file; empty when it is sound. Slower than the check at opening.
    QString integrityProblem() const;
    // What is wrong with the folder's own files (a link where case.lock or captures/ should be).
    QString folderProblem() const { return m_files.problem(); }

private:
    SqliteCaseStore(QString folder, Access access);
    void create(const CopySource &source = {});
    void fillNew(const CopySource &source);
    void fillCopy(QSqlQuery &query, const CopySource &source);
    void connect(const QString &file, bool readOnly);
    void disconnect();
    void openDatabase(const QString &file, bool readOnly);
    void checkIdentity();
    void upgrade();
    [[noreturn]] void damaged(const QString &why) const;
    QSqlDatabase database() const;
    QString captureName(const CaseEntry &entry) const;
    CaseEntry appendInTransaction(CaseEntry entry, const std::function<void(CaseEntry &)> &prepare);
    [[noreturn]] void fail(const QString &reason) const;
    void writeCopiedStamp(const CaseEntry &stamp, const QByteArray &answer);

    QString m_folder;
    Access m_access;
    QString m_connection;
    CaseFolder m_files;
    CaseInfo m_info;
};

} // namespace Cases
