// Connections an endpoint has closed while one of its handlers was running.
//
// A handler can run a nested loop (a message box) in which the connection whose
// read raised it goes away; frames further up still hold that connection. Each
// endpoint therefore keeps closed connections here and frees them only when no
// handler of its own is on the stack.
#pragma once

#include "stream_connection.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class RetiredConnections
{
public:
    // Closes the connection now; frees it once no Scope is open.
    void retire(std::unique_ptr<StreamConnection> connection)
    {
        connection->close();
        connections_.push_back(std::move(connection));
        if (depth_ == 0)
            connections_.clear();
    }

    // Open while an endpoint handles one notification. `owner` holds the
    // RetiredConnections; a handler may destroy it, and then the scope does nothing.
    class Scope
    {
    public:
        Scope(QObject* owner, RetiredConnections& retired) : owner_(owner), retired_(&retired)
        {
            ++retired.depth_;
        }
        ~Scope()
        {
            if (owner_ && --retired_->depth_ == 0)
                retired_->connections_.clear();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        QPointer<QObject> owner_;
        RetiredConnections* retired_;
    };

private:
    std::vector<std::unique_ptr<StreamConnection>> connections_;
    int depth_ = 0;
};
