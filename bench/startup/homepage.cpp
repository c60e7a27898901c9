#include "homepage.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

namespace {
constexpr int HtmlBytes = 300 * 1024;
constexpr int CssBytes = 120 * 1024;
constexpr int ScriptDataBytes = 160 * 1024;
constexpr int ImageCount = 4;
constexpr int ImageSide = 190; // noise does not compress: about 105 KB each

const char *const Cities[] = {"Lisbon", "Porto", "Seville", "Valencia", "Lyon", "Bologna", "Ghent", "Krakow"};
const char *const Words[] = {"Grand", "Harbour", "Garden", "Old Town", "Plaza", "Riverside", "Boutique", "Central"};

QByteArray noisePng(QRandomGenerator &random)
{
    QImage image(ImageSide, ImageSide, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray html(QRandomGenerator &random)
{
    QByteArray page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                      "<title>Hotels - compare prices</title>"
                      "<link rel=\"stylesheet\" href=\"/style.css\">"
                      "<script src=\"/app.js\"></script></head>\n<body>"
                      "<header class=\"top\"><h1>Find your hotel</h1><form class=\"search\">"
                      "<input name=\"q\" placeholder=\"Where to?\"><input type=\"date\" name=\"in\">"
                      "<input type=\"date\" name=\"out\"><button>Search</button></form></header>\n"
                      "<main id=\"results\">\n";
    for (int i = 0; page.size() < HtmlBytes - 200; ++i) {
        const int price = 40 + int(random.bounded(400));
        page += "<article class=\"hotel h" + QByteArray::number(i % 12) + "\" data-price=\""
            + QByteArray::number(price) + "\"><img src=\"/img" + QByteArray::number(i % ImageCount)
            + ".png\" width=\"120\" height=\"90\" alt=\"\"><h2>" + Words[random.bounded(8)] + " "
            + Cities[random.bounded(8)] + " " + QByteArray::number(i) + "</h2><p class=\"rating\">"
            + QByteArray::number(6 + random.bounded(40) / 10.0, 'f', 1)
            + " &middot; " + QByteArray::number(random.bounded(3000)) + " reviews</p><p class=\"deal\">"
            "Free cancellation &middot; Breakfast included &middot; " + QByteArray::number(random.bounded(9) + 1)
            + " km from centre</p><span class=\"price\">" + QByteArray::number(price)
            + " &euro;</span><a class=\"view\" href=\"#h" + QByteArray::number(i) + "\">View deal</a></article>\n";
    }
    page += "</main><footer>Prices per night, taxes included.</footer></body></html>\n";
    return page;
}

QByteArray css(QRandomGenerator &random)
{
    QByteArray sheet = "body{margin:0;font-family:sans-serif;background:#f4f6f8;color:#222}"
                       ".top{background:#0b5;padding:12px}.search input{margin:4px;padding:6px}"
                       ".hotel{display:inline-block;width:300px;margin:8px;padding:8px;background:#fff;"
                       "border-radius:6px;box-shadow:0 1px 3px rgba(0,0,0,.2);vertical-align:top}"
                       ".hotel img{float:left;margin-right:8px}.price{font-weight:bold;color:#c30}\n";
    for (int i = 0; sheet.size() < CssBytes; ++i) {
        sheet += ".x" + QByteArray::number(i) + " .h" + QByteArray::number(i % 12) + ">h2{color:#"
            + QByteArray::number(random.bounded(0x1000000), 16).rightJustified(6, '0') + ";margin:"
            + QByteArray::number(random.bounded(9)) + "px " + QByteArray::number(random.bounded(9))
            + "px;letter-spacing:." + QByteArray::number(random.bounded(5)) + "px}\n";
    }
    return sheet;
}

QByteArray script(QRandomGenerator &random)
{
    // Offers the page works through when it is ready, as a price page does.
    QByteArray code = "var OFFERS=[";
    while (code.size() < ScriptDataBytes) {
        code += "{p:" + QByteArray::number(random.bounded(500)) + ",r:" + QByteArray::number(random.bounded(100))
            + ",c:" + QByteArray::number(random.bounded(8)) + ",n:\"o" + QByteArray::number(random.bounded(100000))
            + "\"},";
    }
    code += "{p:0,r:0,c:0,n:\"\"}];\n"
            "document.addEventListener('DOMContentLoaded',function(){\n"
            "  var best={};OFFERS.forEach(function(o){if(!best[o.c]||o.p<best[o.c].p)best[o.c]=o;});\n"
            "  var cards=document.querySelectorAll('.hotel');\n"
            "  for(var i=0;i<cards.length;i++){var p=+cards[i].dataset.price;"
            "    if(p<100)cards[i].classList.add('cheap');}\n"
            "  var note=document.createElement('p');note.textContent=Object.keys(best).length+' best offers';\n"
            "  document.body.insertBefore(note,document.body.firstChild);\n"
            "});\n"
            "window.addEventListener('load',function(){fetch('/loaded',{cache:'no-store'});});\n";
    return code;
}
}

QHash<QString, HomeResource> makeHomePage(const QString &homePath)
{
    QRandomGenerator random(20240601);
    QHash<QString, HomeResource> site;
    site.insert(homePath, {"text/html; charset=utf-8", html(random)});
    site.insert(QStringLiteral("/style.css"), {"text/css", css(random)});
    site.insert(QStringLiteral("/app.js"), {"text/javascript", script(random)});
    for (int i = 0; i < ImageCount; ++i)
        site.insert(QStringLiteral("/img%1.png").arg(i), {"image/png", noisePng(random)});
    site.insert(QStringLiteral("/loaded"), {"text/plain", "ok"});
    return site;
}
