#pragma once
// The progress of long list work (loading a list, adding files), shown over the list pane.

#include <QString>

class ProgressView
{
public:
    virtual ~ProgressView() = default;
    virtual void showProgress(int maximum) = 0;
    virtual void setProgress(int value) = 0;
    // The line under the bar ("…を追加しています・・・").
    virtual void setProgressText(const QString &text) = 0;
    virtual void hideProgress() = 0;
};
