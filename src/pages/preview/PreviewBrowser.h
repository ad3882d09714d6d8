#pragma once

class QWebEngineView;
class QWidget;

// A browser for previews of documents from anywhere: it runs no page scripts,
// fetches nothing but local files, and does not follow links or forms.
QWebEngineView *createPreviewBrowser(QWidget *parent);
