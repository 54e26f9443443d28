// A hostile layout against the page view: its scripts try to read a local file, to reach a local server
// over HTTP, WebSocket and WebRTC (STUN over UDP, TURN over TCP), and its HTML frames a local file. None of
// it may get through, while the page's picture and its slide marker still work.
#include <QApplication>
#include <QImage>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <memory>
#include <utility>

#include "platform/page_view.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

const QString kSecret = QStringLiteral("GEHEIM-4711");

// Counts the TCP connections and UDP datagrams that reach the loopback ports it listens on.
struct Listeners {
  QTcpServer tcp;
  QUdpSocket udp;
  int connections = 0;
  int datagrams = 0;

  Listeners() {
    tcp.listen(QHostAddress::LocalHost);
    udp.bind(QHostAddress::LocalHost, 0);
    QObject::connect(&tcp, &QTcpServer::newConnection, &tcp, [this] {
      while (QTcpSocket* socket = tcp.nextPendingConnection()) {
        ++connections;
        socket->close();
      }
    });
    QObject::connect(&udp, &QUdpSocket::readyRead, &udp, [this] {
      while (udp.hasPendingDatagrams()) {
        udp.receiveDatagram();
        ++datagrams;
      }
    });
  }
};

// The result of a script the program runs in the page, or an empty value after a timeout.
QVariant Evaluate(PageView& view, const QString& script) {
  auto answer = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
  view.page()->runJavaScript(script, [answer](const QVariant& value) { *answer = {true, value}; });
  if (!QTest::qWaitFor([&] { return answer->first; }, 10000)) return {};
  return answer->second;
}

}  // namespace

class PageGuardTest : public QObject {
  Q_OBJECT

 private slots:
  void aHostileLayoutGetsNothingInOrOutButItsPictureAndMarkersWork() {
    Listeners listeners;
    QVERIFY(listeners.tcp.isListening());
    QTemporaryDir temp;
    const QString secret = QUrl::fromLocalFile(temp.path() + "/geheim.txt").toString();
    uitest::WriteBytes(temp.path() + "/geheim.txt", kSecret.toLatin1());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(temp.path() + "/bild.png"));
    const QString pictureUrl = QUrl::fromLocalFile(temp.path() + "/bild.png").toString();
    const QString tcp = QStringLiteral("127.0.0.1:%1").arg(listeners.tcp.serverPort());
    const QString udp = QStringLiteral("127.0.0.1:%1").arg(listeners.udp.localPort());

    const QString page =
        QStringLiteral(
            "<head><title></title></head><body style='background-image:url(%2)'>"
            "<img id=bild src='%2'><iframe src='%1'></iframe><object data='%1'></object>"
            "<span onclick='javascript:document.title=\"3\"'>Folie 3</span>"
            "<script>"
            "function tell(what) { document.title += ' ' + what; }"
            "tell('script');"
            "var xhr = new XMLHttpRequest(); xhr.open('GET', '%1');"
            "xhr.onload = function () { tell('xhr:' + xhr.responseText); }; xhr.send();"
            "fetch('%1').then(function (r) { return r.text(); }).then(function (t) { tell('fetch:' + t); });"
            "var frame = document.createElement('iframe'); frame.src = '%1';"
            "frame.onload = function () { tell('frame:' + frame.contentDocument.body.innerText); };"
            "document.body.appendChild(frame);"
            "new Image().src = 'http://%3/bild.png';"
            "new WebSocket('ws://%3/');"
            "var peer = new RTCPeerConnection({iceServers: [{urls: 'stun:%4'},"
            "  {urls: 'turn:%3?transport=tcp', username: 'u', credential: 'p'}]});"
            "peer.createDataChannel('d');"
            "peer.createOffer().then(function (offer) { return peer.setLocalDescription(offer); });"
            "</script></body>")
            .arg(secret, pictureUrl, tcp, udp);
    uitest::WriteBytes(temp.path() + "/seite.htm", page.toLatin1());

    PageView view;
    view.resize(400, 300);
    view.show();
    QSignalSpy loaded(&view, &PageView::pageLoaded);
    view.LoadPageFile((temp.path() + "/seite.htm").toStdString());
    QVERIFY(loaded.wait(20000));
    // Nothing that is refused sends an event: give the page's attempts a fixed time to fail.
    QTest::qWait(2000);

    QCOMPARE(listeners.connections, 0);
    QCOMPARE(listeners.datagrams, 0);
    QVERIFY2(!view.title().contains(kSecret), qPrintable(view.title()));
    // Only the slide markers' handler may act, and only when clicked.
    QVERIFY2(!view.title().contains(QStringLiteral("script")), qPrintable(view.title()));
    const QString framed =
        Evaluate(view, QStringLiteral("Array.from(document.querySelectorAll('iframe, object')).map(function (e) {"
                                      "  try { return e.contentDocument.documentElement.innerText; }"
                                      "  catch (x) { return ''; } }).join('|')"))
            .toString();
    QVERIFY2(!framed.contains(kSecret), qPrintable(framed));

    QCOMPARE(Evaluate(view, QStringLiteral("document.getElementById('bild').naturalWidth")).toInt(), 4);
    Evaluate(view, QStringLiteral("document.querySelector('span').click()"));
    QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("3"), 10000);
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  psalmora::PageGuardTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "page_guard_test.moc"
