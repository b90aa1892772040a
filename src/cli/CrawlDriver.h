// SPDX-License-Identifier: MIT
#pragma once

// A CrawlDriver runs a Web's crawl from the Qt event loop: it calls step() from a zero-delay
// timer while nodes can be started, sleeps while every slot is busy or only transfers are
// left, wakes when a slot is freed, and quits its event loop when the crawl is complete.
// It is the crawl's WebListener for corvida-cli.

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include "model/WebListener.h"

namespace corvida {

class Web;

class CrawlDriver : public QObject, public WebListener {
    Q_OBJECT

public:
    CrawlDriver();

    // Runs web's crawl (which must use this driver as its listener) until it completes:
    // start() first when startFirst is set. Returns when step() returned 0.
    void run(Web& web, bool startFirst);

    void slotFreed(WebNode* node, int slot) override;

private:
    void tick();

    Web* m_web = nullptr;
    QTimer m_timer;
    QEventLoop m_loop;
};

} // namespace corvida
