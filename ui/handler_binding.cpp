#include "handler_binding.h"

#include "cue_control.h"
#include "triple.h"

#include <QMessageBox>
#include <cstdio>
#include <new>

namespace pythagoras {

QString DescribeError(const char* handlerName, std::exception_ptr error)
{
    QString what;
    try {
        std::rethrow_exception(error);
    } catch (const OverflowError&) {
        what = QStringLiteral("オーバーフローしました。");
    } catch (const FloatingPointError&) {
        what = QStringLiteral("浮動小数点演算でエラーが発生しました。");
    } catch (const PlayerError& e) {
        what = QStringLiteral("サウンドプレーヤーでエラーが発生しました（%1）。")
                   .arg(QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc&) {
        what = QStringLiteral("メモリが不足しています。");
    } catch (const std::exception& e) {
        what = QStringLiteral("予期しないエラーが発生しました（%1）。").arg(QString::fromUtf8(e.what()));
    } catch (...) {
        what = QStringLiteral("予期しないエラーが発生しました。");
    }
    return QStringLiteral("実行時エラー（%1）：%2").arg(QLatin1String(handlerName), what);
}

void RunHandler(QWidget* window, const char* handlerName, const std::function<void()>& handler)
{
    std::exception_ptr error;
    try {
        handler();
        return;
    } catch (...) {
        error = std::current_exception();
    }
    const QString line = DescribeError(handlerName, error);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);

    QMessageBox box(QMessageBox::Critical, QStringLiteral("ピタゴラス数"), line, QMessageBox::Ok, window);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace pythagoras
