#pragma once
// What the tests of the channel grid start from: a temporary per-user store
// and program directory, and a channel view on a new document, shown in a
// window of its own. A test class derives from it:
//
//   void init() { QVERIFY(makeFolders()); }
//   void cleanup() { tearDownGrid(); }
//   QVERIFY(showView());  m_view->OnInitialUpdate();  ...

#include <QByteArray>

#include <memory>

class CKQ_517Doc;
class CKQ_517View;
class CMSFlexGrid;
class QWidget;
class TempProgramDir;
class TempUserStore;

class GridViewFixture {
public:
    GridViewFixture();
    ~GridViewFixture();

    // The temporary folders; false when one could not be made.
    bool makeFolders();
    // Settings (the built-in example when empty), the language module they
    // name, a new document (g_bNewDocument = newDocument) and a shown, active
    // window holding the view, before its first update. False when a step failed.
    bool showView(const QByteArray& settings = QByteArray(), bool newDocument = true);
    // Lets go of the window, the document, the language module and the folders.
    void tearDownGrid();

    std::unique_ptr<TempUserStore> m_store;
    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<CKQ_517Doc> m_doc;
    std::unique_ptr<QWidget> m_host;
    CKQ_517View* m_view = nullptr;
    CMSFlexGrid* m_grid = nullptr;
};
