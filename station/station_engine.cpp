#include "station/station_engine.h"

#include "station/port_worker.h"

#include "serial/port_list.h"

#include <QFileInfo>
#include <QThread>

namespace station {
namespace {

constexpr int kRetryStoreMs = 2000;

}  // namespace

Engine::Engine(Plan plan, records::RecordStore& store, qint64 firstUnit, QObject* parent)
    : QObject(parent), plan_(std::move(plan)), store_(store), gate_(plan_.units, firstUnit)
{
    qRegisterMetaType<records::UnitRecord>();
    qRegisterMetaType<station::PortState>();
    qRegisterMetaType<station::Step>();
    connect(&retry_, &QTimer::timeout, this, &Engine::retryStore);
}

Engine::~Engine()
{
    // Normally joined at the end; an engine dropped early still must not
    // leave a thread running with its session.
    for (size_t i = 0; i < threads_.size(); ++i) {
        if (threads_[i]->isRunning()) {
            QMetaObject::invokeMethod(workers_[i], &PortWorker::finish, Qt::QueuedConnection);
            threads_[i]->wait();
        }
        delete workers_[i];
        delete threads_[i];
    }
}

void Engine::start()
{
    const QMap<QString, QString> stable = stable_port_names();
    for (const QString& port : plan_.ports)
        adapters_.append(QFileInfo(stable.value(port)).fileName());
    for (int i = 0; i < plan_.ports.size(); ++i) {
        auto* thread = new QThread;
        thread->setObjectName(QStringLiteral("port ") + plan_.ports[i]);
        auto* worker = new PortWorker(i, plan_.ports[i], plan_, gate_);
        worker->moveToThread(thread);
        connect(thread, &QThread::started, worker, &PortWorker::start);
        connect(worker, &PortWorker::stateChanged, this, &Engine::portState);
        connect(worker, &PortWorker::stepStarted, this, &Engine::stepStarted);
        connect(worker, &PortWorker::progress, this, &Engine::progress);
        connect(worker, &PortWorker::unitDone, this, &Engine::onUnitDone);
        connect(worker, &PortWorker::finished, this, &Engine::onWorkerFinished);
        threads_.push_back(thread);
        workers_.push_back(worker);
    }
    running_ = static_cast<int>(workers_.size());
    for (QThread* thread : threads_)
        thread->start();
}

void Engine::stop()
{
    if (stopping_)
        return;
    stopping_ = true;
    gate_.set_open(false);
    for (PortWorker* worker : workers_)
        QMetaObject::invokeMethod(worker, &PortWorker::stop, Qt::QueuedConnection);
    windDown();
}

void Engine::windDown()
{
    // Each worker ends once its running job has handed its record over.
    if (windingDown_)
        return;
    windingDown_ = true;
    for (PortWorker* worker : workers_)
        QMetaObject::invokeMethod(worker, &PortWorker::finish, Qt::QueuedConnection);
}

void Engine::onUnitDone(int port, const records::UnitRecord& done)
{
    records::UnitRecord record = done;
    record.adapter = adapters_.value(port);
    if (record.result != QLatin1String("pass"))
        failed_ = true;
    const records::RecordStore::StoreResult stored = store_.store(record);
    ++done_;
    emit unitFinished(port, record, stored.outcome == records::RecordStore::Outcome::Stored);
    switch (stored.outcome) {
        case records::RecordStore::Outcome::Stored:
            break;
        case records::RecordStore::Outcome::Journaled:
            if (!troubled_) {
                troubled_ = true;
                gate_.set_open(false);
                emit storeTrouble(QStringLiteral("the records cannot be stored (%1); they wait in %2, and no new "
                                                 "unit starts until the database takes them")
                                      .arg(stored.message, store_.destination().journal));
                retry_.start(kRetryStoreMs);
            }
            break;
        case records::RecordStore::Outcome::Lost:
            lost_ = true;
            emit storeTrouble(QStringLiteral("a record could be neither stored nor kept in the journal: %1; the "
                                             "station stops")
                                  .arg(stored.message));
            stop();
            break;
    }
    QMetaObject::invokeMethod(workers_[port], &PortWorker::proceed, Qt::QueuedConnection);
    if (plan_.units > 0 && done_ >= plan_.units)
        stop();
}

void Engine::retryStore()
{
    QString error;
    if (!store_.replay(&error))
        return;
    retry_.stop();
    troubled_ = false;
    if (!stopping_)
        gate_.set_open(true);
    emit storesAgain();
}

void Engine::onWorkerFinished(int)
{
    if (--running_ > 0)
        return;
    for (QThread* thread : threads_)
        thread->wait();
    // What still waits in the journal gets one more chance before the end.
    if (troubled_) {
        QString error;
        store_.replay(&error);
    }
    emit ended();
}

}  // namespace station
