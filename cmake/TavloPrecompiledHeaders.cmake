# Precompiled Qt headers. Most of the time spent compiling a file here goes into parsing
# Qt's headers once more, so each family of targets precompiles the Qt headers its files
# include, once: the first target of a family in a folder precompiles them and the later ones
# reuse that (REUSE_FROM). GCC takes a precompiled header only where the Qt modules linked
# (their QT_*_LIB definitions) and QtTest's folder definitions are the same as when it was
# made, so a family is one Qt module set within one folder. Where a target does not match its
# family, -Winvalid-pch says so and the compiler reads the headers as before: only build time
# depends on this, never what is built. TAVLO_PRECOMPILE_HEADERS=OFF turns it off (for
# checking that every file includes what it uses).
option(TAVLO_PRECOMPILE_HEADERS "Precompile the Qt headers shared by a family of targets" ON)

set(TAVLO_PCH_CORE
    <QByteArray> <QDebug> <QDir> <QElapsedTimer> <QFile> <QFileInfo> <QHash> <QList> <QObject>
    <QPointer> <QString> <QStringList> <QTimer> <QUrl> <QVariant>
    <functional> <memory> <vector>)
set(TAVLO_PCH_NETWORK ${TAVLO_PCH_CORE}
    <QNetworkAccessManager> <QNetworkReply> <QNetworkRequest> <QSslCertificate> <QSslConfiguration>
    <QSslSocket>)
set(TAVLO_PCH_QUICK ${TAVLO_PCH_NETWORK}
    <QGuiApplication> <QQmlApplicationEngine> <QQmlContext> <QQuickItem> <QQuickWindow>)
set(TAVLO_PCH_TEST <QSignalSpy> <QTest>)

# tavlo_precompile_headers(TARGET FAMILY [GROUP]): FAMILY is CORE, NETWORK or QUICK, with
# _TEST for targets that link QtTest; the targets of a folder that name the same family (or
# GROUP, for a Qt module set of their own) share one precompiled header.
function(tavlo_precompile_headers target family)
    if(NOT TAVLO_PRECOMPILE_HEADERS)
        return()
    endif()
    set(group ${family})
    if(ARGC GREATER 2)
        set(group ${ARGV2})
    endif()
    get_property(host DIRECTORY PROPERTY TAVLO_PCH_HOST_${group})
    if(host)
        target_precompile_headers(${target} REUSE_FROM ${host})
        return()
    endif()
    string(REGEX REPLACE "_TEST$" "" modules ${family})
    set(headers ${TAVLO_PCH_${modules}})
    if(family MATCHES "_TEST$")
        list(APPEND headers ${TAVLO_PCH_TEST})
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
    set_property(DIRECTORY PROPERTY TAVLO_PCH_HOST_${group} ${target})
endfunction()
