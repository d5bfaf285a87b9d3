#include "common/TestRegistry.h"
#include "document/ArrangementFile.h"
#include "document/FrameView.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(CaptionSettings)

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

bool inside(const QRectF &r, QSizeF picture)
{
    return r.left() >= 0 && r.top() >= 0 && r.right() <= picture.width() + 1e-9 &&
           r.bottom() <= picture.height() + 1e-9 && r.width() > 0 && r.height() > 0;
}

Placement framed(double w, double h, FrameView view)
{
    Placement p{};
    p.Width = w;
    p.Height = h;
    p.Page = 1;
    p.Cut = 1;
    p.View = view;
    return p;
}

// Two placements, one with a view, and one picture.
ArrangementData withViews(FrameView view)
{
    ArrangementData d;
    d.Placements = {framed(2, 3, {}), framed(4, 3, view)};
    d.Pictures.push_back({QStringLiteral("a.jpg"), 0, 0, QStringLiteral("")});
    return d;
}

QByteArray chunk(const char *tag, std::uint16_t version, const QByteArray &payload, int lengthDelta = 0)
{
    QByteArray b(tag, 4);
    char v[2], n[4];
    qToLittleEndian(version, v);
    qToLittleEndian(std::uint32_t(payload.size() + lengthDelta), n);
    return b + QByteArray(v, 2) + QByteArray(n, 4) + payload;
}

QByteArray viewPayload(std::uint32_t index, double x, double y, double zoom, std::uint32_t count = 1)
{
    QByteArray b(4 + 28, '\0');
    qToLittleEndian(count, b.data());
    qToLittleEndian(index, b.data() + 4);
    qToLittleEndian(x, b.data() + 8);
    qToLittleEndian(y, b.data() + 16);
    qToLittleEndian(zoom, b.data() + 24);
    return b;
}

QByteArray area(const QByteArray &chunks, std::uint16_t version = 1)
{
    char v[2];
    qToLittleEndian(version, v);
    return QByteArray("SGAX") + QByteArray(v, 2) + chunks;
}
} // namespace

Q_DECLARE_METATYPE(FrameView)

class TestFrameView : public QObject
{
    Q_OBJECT
private slots:
    // Whatever the sizes, centre and zoom, what a frame shows lies inside the
    // picture, in floating point and in the whole pixels drawn.
    void shownPartLiesInsideThePicture()
    {
        QRandomGenerator rng(21);
        auto real = [&](double lo, double hi) { return lo + rng.generateDouble() * (hi - lo); };
        for (int i = 0; i < 10000; ++i) {
            const QSize picture(rng.bounded(1, 8000), rng.bounded(1, 8000));
            const double aspect = std::exp(real(-4, 4));
            const bool keep = rng.bounded(4) != 0;
            FrameView v{real(-0.5, 1.5), real(-0.5, 1.5), real(0.5, 40)};
            if (i % 97 == 0)
                v = FrameView{NaN, Inf, i % 2 ? NaN : Inf};
            const QRectF r = ViewRect(QSizeF(picture), aspect, keep, v);
            QVERIFY2(inside(r, QSizeF(picture)), qPrintable(QStringLiteral("case %1").arg(i)));
            const QRect s = ViewSource(picture, aspect, keep, v);
            QVERIFY2(s.left() >= 0 && s.top() >= 0 && s.right() < picture.width() && s.bottom() < picture.height() &&
                         !s.isEmpty(),
                     qPrintable(QStringLiteral("case %1").arg(i)));
        }
    }

    // A chosen centre survives a change of the frame's proportions (within
    // 0.5 % of the picture) wherever the new frame can show it.
    void proportionChangeKeepsTheCentre_data()
    {
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<FrameView>("view");
        QTest::addColumn<double>("fromAspect");
        QTest::addColumn<double>("toAspect");
        QTest::newRow("landscape frame made portrait") << QSizeF(6000, 4000) << FrameView{0.3, 0.5, 1.2} << 1.5 << 0.7;
        QTest::newRow("portrait frame made square, zoomed") << QSizeF(4000, 6000) << FrameView{0.4, 0.35, 2.0} << 0.66
                                                              << 1.0;
        QTest::newRow("square made wide, head near the top") << QSizeF(3000, 4000) << FrameView{0.5, 0.3, 1.5} << 1.0
                                                               << 3.0;
    }
    void proportionChangeKeepsTheCentre()
    {
        QFETCH(QSizeF, picture);
        QFETCH(FrameView, view);
        QFETCH(double, fromAspect);
        QFETCH(double, toAspect);
        // What the user chose is what the first frame shows.
        const FrameView chosen = ShownView(picture, fromAspect, true, view);
        for (double aspect : {toAspect, fromAspect}) {
            const QRectF r = ViewRect(picture, aspect, true, chosen);
            QVERIFY(inside(r, picture));
            QVERIFY(std::abs(r.center().x() / picture.width() - chosen.CentreX) <= 0.005);
            QVERIFY(std::abs(r.center().y() / picture.height() - chosen.CentreY) <= 0.005);
        }
    }

    // Dragging and zooming never leave the picture, and zooming keeps the
    // point under the mouse.
    void dragAndZoomStayInside()
    {
        const QSizeF picture(4000, 3000);
        FrameView v = CentredView();
        v = MovedView(picture, 1, true, v, 10, -10); // far past the edges
        QCOMPARE(ViewRect(picture, 1, true, v), QRectF(0, 0, 3000, 3000));
        const FrameView z = ZoomedView(picture, 1, true, CentredView(), 4, 0.25, 0.25);
        const QRectF before = ViewRect(picture, 1, true, CentredView());
        const QRectF after = ViewRect(picture, 1, true, z);
        QCOMPARE(after.left() + 0.25 * after.width(), before.left() + 0.25 * before.width());
        QCOMPARE(after.width(), 750.0);
        QCOMPARE(ZoomedView(picture, 1, true, z, 1e9).Zoom, MaxViewZoom);
    }

    // Views and turns go to the extension only when chosen: without any, the
    // file is the base layout; with them it round-trips byte for byte.
    void viewsRoundTripInTheExtension()
    {
        ArrangementData plain = withViews({});
        const QByteArray base = WriteArrangement(plain);
        QVERIFY(!base.contains("SGAX"));
        ArrangementData viewed = withViews(FrameView{0.25, 0.75, 2.5});
        viewed.Placements[0].Turn = 3;
        const QByteArray bytes = WriteArrangement(viewed);
        QCOMPARE(bytes.left(base.size()), base); // the base layout unchanged before it
        QCOMPARE(bytes.mid(base.size(), 4), QByteArray("SGAX"));
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(out.Placements[1].View, (FrameView{0.25, 0.75, 2.5}));
        QVERIFY(!out.Placements[0].View.chosen());
        QCOMPARE(out.Placements[0].Turn, 3);
        QCOMPARE(out.Placements[1].Turn, 0);
        QCOMPARE(WriteArrangement(out), bytes);
        // A reader of the base layout alone sees the same arrangement.
        ArrangementData baseOnly;
        QCOMPARE(ReadArrangement(base, baseOnly), ArrangementReadStatus::Ok);
        QCOMPARE(baseOnly.Placements.size(), out.Placements.size());
    }

    // What the extension area may hold: skipped, held, dropped or damaged.
    void extensionArea_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<FrameView>("view"); // of placement 1 when read
        const FrameView none{};
        QTest::newRow("trailing bytes of another kind") << QByteArray("junk after the pictures") << false << none;
        QTest::newRow("valid view") << area(chunk("VIEW", 1, viewPayload(1, 0.2, 0.3, 3))) << false
                                    << FrameView{0.2, 0.3, 3};
        QTest::newRow("unknown chunk skipped")
            << area(chunk("HEAD", 1, "page texts") + chunk("VIEW", 1, viewPayload(1, 0.2, 0.3, 3))) << false
            << FrameView{0.2, 0.3, 3};
        QTest::newRow("later chunk version skipped") << area(chunk("VIEW", 2, viewPayload(1, 0.2, 0.3, 3))) << false
                                                     << none;
        QTest::newRow("later area version ignored") << area(chunk("VIEW", 1, viewPayload(1, 0.2, 0.3, 3)), 2) << false
                                                    << none;
        QTest::newRow("view of no placement dropped") << area(chunk("VIEW", 1, viewPayload(7, 0.2, 0.3, 3))) << false
                                                      << none;
        QTest::newRow("NaN centre and zoom held") << area(chunk("VIEW", 1, viewPayload(1, NaN, NaN, NaN))) << false
                                                  << FrameView{0.5, 0.5, 1};
        QTest::newRow("zoom below 1, centre outside held")
            << area(chunk("VIEW", 1, viewPayload(1, -3, 7, 0.25))) << false << FrameView{0, 1, 1};
        QTest::newRow("huge zoom held") << area(chunk("VIEW", 1, viewPayload(1, 0.5, 0.5, 1e300))) << false
                                        << FrameView{0.5, 0.5, MaxViewZoom};
        QTest::newRow("chunk longer than the file") << area(chunk("VIEW", 1, viewPayload(1, 0.2, 0.3, 3), 1)) << true
                                                    << none;
        QTest::newRow("chunk header cut short") << area("VIEW\x01") << true << none;
        QTest::newRow("area version cut short") << QByteArray("SGAX\x01") << true << none;
        QTest::newRow("view count past its chunk")
            << area(chunk("VIEW", 1, viewPayload(1, 0.2, 0.3, 3, 0x7FFFFFFF))) << true << none;
        QByteArray tones(4 + 8, '\0');
        qToLittleEndian(std::uint32_t(1), tones.data());
        qToLittleEndian(std::uint32_t(0x40000000), tones.data() + 8);
        QTest::newRow("tone step count past its chunk") << area(chunk("TONE", 1, tones)) << true << none;
        QByteArray mirrors(4, '\0');
        qToLittleEndian(std::uint32_t(0x40000000), mirrors.data());
        QTest::newRow("mirrored picture count past its chunk") << area(chunk("MIRR", 1, mirrors)) << true << none;
        QTest::newRow("intent count past its chunk") << area(chunk("INTN", 1, mirrors)) << true << none;
        QTest::newRow("intent past the four") << area(chunk("INTN", 1, QByteArray("\x01\0\0\0\0\0\0\0\x04", 9)))
                                              << true << none;
        QByteArray turns(4 + 5, '\0');
        qToLittleEndian(std::uint32_t(2), turns.data());
        QTest::newRow("turn count past its chunk") << area(chunk("TURN", 1, turns)) << true << none;
        qToLittleEndian(std::uint32_t(1), turns.data());
        turns[8] = 4;
        QTest::newRow("turn beyond three quarters") << area(chunk("TURN", 1, turns)) << true << none;
    }
    void extensionArea()
    {
        QFETCH(QByteArray, tail);
        QFETCH(bool, damaged);
        QFETCH(FrameView, view);
        ArrangementData out;
        const auto status = ReadArrangement(WriteArrangement(withViews({})) + tail, out);
        QCOMPARE(status, damaged ? ArrangementReadStatus::Damaged : ArrangementReadStatus::Ok);
        if (!damaged)
            QCOMPARE(out.Placements[1].View, view);
    }

    // Cut marks go to a MARK chunk only when on: a file without them keeps the
    // bytes it had; flags a later program adds are ignored, an empty chunk is damage.
    void cutMarksChunk_data()
    {
        QTest::addColumn<bool>("on");          // as written
        QTest::addColumn<QByteArray>("tail");  // the extension area as read
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("read");
        QTest::newRow("off: the base layout alone") << false << QByteArray() << false << false;
        QTest::newRow("on: one chunk after the base") << true << area(chunk("MARK", 1, "\x01")) << false << true;
        QTest::newRow("later flags and bytes ignored")
            << false << area(chunk("MARK", 1, QByteArray("\x03\x00", 2))) << false << true;
        QTest::newRow("flag off") << false << area(chunk("MARK", 1, QByteArray(1, '\0'))) << false << false;
        QTest::newRow("later chunk version skipped") << false << area(chunk("MARK", 2, "\x01")) << false << false;
        QTest::newRow("empty chunk") << false << area(chunk("MARK", 1, QByteArray())) << true << false;
    }
    void cutMarksChunk()
    {
        QFETCH(bool, on);
        QFETCH(QByteArray, tail);
        QFETCH(bool, damaged);
        QFETCH(bool, read);
        const QByteArray base = WriteArrangement(withViews({}));
        ArrangementData d = withViews({});
        d.CutMarks = on;
        if (on)
            QCOMPARE(WriteArrangement(d), base + tail);
        else
            QCOMPARE(WriteArrangement(d), base);
        ArrangementData out;
        QCOMPARE(ReadArrangement(base + tail, out),
                 damaged ? ArrangementReadStatus::Damaged : ArrangementReadStatus::Ok);
        if (damaged)
            return;
        QCOMPARE(out.CutMarks, read);
        QCOMPARE(LoadedOptions(out).CutMarks, read);
        QCOMPARE(WriteArrangement(out), read ? base + area(chunk("MARK", 1, "\x01")) : base);
    }

    // Caption settings go to a CAPT chunk only when set: other files keep their
    // bytes, set ones come back exactly, values out of range read as defaults.
    void captionChunk_data()
    {
        QTest::addColumn<CaptionSettings>("written");
        QTest::addColumn<int>("damageAt"); // cut the payload to this many bytes; -1 keeps it whole
        QTest::addColumn<CaptionSettings>("read");
        const CaptionSettings none;
        CaptionSettings full;
        full.Template = QStringLiteral("{name}\n{date} · {camera}\nשלום 東京 {nope}");
        full.Fit = CaptionFit::Wrap;
        full.Header = QStringLiteral("{file}");
        full.HeaderAlign = PageTextAlign::Left;
        full.Footer = QStringLiteral("{page} of {pages}");
        full.FooterAlign = PageTextAlign::Right;
        full.OwnFont = true;
        full.PageFont.Name = QStringLiteral("DejaVu Serif");
        full.PageFont.Size = 9;
        CaptionSettings ellipsis;
        ellipsis.Fit = CaptionFit::Ellipsis;
        QTest::newRow("defaults: the base layout alone") << none << -1 << none;
        QTest::newRow("every field, line breaks, RTL and CJK") << full << -1 << full;
        QTest::newRow("only the fit chosen") << ellipsis << -1 << ellipsis;
        QTest::newRow("payload cut short") << full << 40 << none;
    }
    void captionChunk()
    {
        QFETCH(CaptionSettings, written);
        QFETCH(int, damageAt);
        QFETCH(CaptionSettings, read);
        const QByteArray base = WriteArrangement(withViews({}));
        ArrangementData d = withViews({});
        d.Captions = written;
        QByteArray bytes = WriteArrangement(d);
        if (written == CaptionSettings())
            QCOMPARE(bytes, base);
        if (damageAt >= 0) {
            const qsizetype payload = base.size() + 6 + 10;
            bytes = base + area(chunk("CAPT", 1, bytes.mid(payload, damageAt)));
        }
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), damageAt >= 0 ? ArrangementReadStatus::Damaged : ArrangementReadStatus::Ok);
        if (damageAt >= 0)
            return;
        QCOMPARE(LoadedOptions(out).Captions, read);
        QCOMPARE(WriteArrangement(out), bytes);
    }
    void captionChunkHoldsOutOfRange()
    {
        CaptionSettings s;
        s.Header = QStringLiteral("x");
        ArrangementData d = withViews({});
        d.Captions = s;
        QByteArray bytes = WriteArrangement(d);
        const qsizetype payload = WriteArrangement(withViews({})).size() + 6 + 10;
        bytes[payload + 1] = char(9);                  // fit
        bytes[payload + 2 + 4] = char(7);              // header alignment, after the empty template
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(out.Captions.Fit, CaptionFit::Clip);
        QCOMPARE(out.Captions.HeaderAlign, PageTextAlign::Centre);
        QCOMPARE(out.Captions.Header, QStringLiteral("x"));
    }

    // Tone steps round-trip with their order and flags.
    void toneStepsRoundTrip()
    {
        ArrangementData d = withViews({});
        PictureStep a;
        a.What = PictureStep::Kind::Tone;
        a.Table = BrightnessTable(40);
        PictureStep b = a;
        b.Table = ContrastTable(150);
        b.AfterEnlarge = true;
        d.Tones = {{a, b}};
        const QByteArray bytes = WriteArrangement(d);
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(out.Tones.size(), std::size_t(1));
        QCOMPARE(out.Tones[0].size(), std::size_t(2));
        QVERIFY(out.Tones[0][0].Table == a.Table && !out.Tones[0][0].AfterEnlarge);
        QVERIFY(out.Tones[0][1].Table == b.Table && out.Tones[0][1].AfterEnlarge);
        QCOMPARE(WriteArrangement(out), bytes);
    }

    // Read back, the tables of each group (before and after an enlargement)
    // are one table giving the pixels of all of them in turn.
    void toneStepsMergeOnReading_data()
    {
        QTest::addColumn<QString>("flags"); // one letter a step: b(efore) or a(fter) enlarging
        QTest::addColumn<int>("repeat");
        QTest::newRow("two before") << "bb" << 1;
        QTest::newRow("groups interleaved") << "bab" << 1;
        QTest::newRow("16,000 steps") << "ba" << 8000;
    }
    void toneStepsMergeOnReading()
    {
        QFETCH(QString, flags);
        QFETCH(int, repeat);
        ArrangementData d = withViews({});
        d.Tones.resize(1);
        ToneTable expected[2];
        for (int g = 0; g < 2; ++g)
            for (int v = 0; v < 256; ++v)
                expected[g][std::size_t(v)] = BYTE(v);
        for (int k = 0; k < repeat; ++k)
            for (int i = 0; i < flags.size(); ++i) {
                PictureStep step;
                step.What = PictureStep::Kind::Tone;
                step.AfterEnlarge = flags[i] == QLatin1Char('a');
                step.Table = (k + i) % 2 ? BrightnessTable(3) : ContrastTable(90);
                d.Tones[0].push_back(step);
                for (auto& v : expected[step.AfterEnlarge])
                    v = step.Table[v];
            }
        ArrangementData out;
        QCOMPARE(ReadArrangement(WriteArrangement(d), out), ArrangementReadStatus::Ok);
        const int groups = flags.contains(QLatin1Char('a')) ? 2 : 1;
        QCOMPARE(int(out.Tones.at(0).size()), groups);
        for (const PictureStep& step : out.Tones[0])
            QVERIFY(step.Table == expected[step.AfterEnlarge]);
    }
};

SGA_TEST(TestFrameView)
#include "tst_frameview.moc"
