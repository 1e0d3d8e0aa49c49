#include "qsodata.h"

#include "compare.h"

#include <filesystem>

namespace vellum {

namespace {
SilentNotifier g_silentNotifier;
ProgressService g_noProgress;
CallResolver g_noResolver;
AwardHooks g_noAwards;
LogObserver g_noObserver;
LogSettings g_defaultSettings;
} // namespace

TQsoData::TQsoData(LogServices services) : TBRSorted<TQsoRec>(CompareDateOrder), m_services(services)
{
    SetCompare(CompareDateOrder, SortByDateOrder);
    ByCall = AddIndex(CompareCallOrder, SortByCallOrder);
    ViewIndex = this;
    CurSelection = AllQsosSelection();
    Selections.push_back(CurSelection);
    Notes.onChange = [this] { observer().logChanged(); };
    observer().diskIndicator(LogObserver::DiskState::Clear);
}

TQsoData::~TQsoData()
{
    ClearRecs();
    observer().diskIndicator(LogObserver::DiskState::Clear);
}

void TQsoData::SetServices(const LogServices &services) { m_services = services; }

UserNotifier &TQsoData::notifier() const { return m_services.notifier ? *m_services.notifier : g_silentNotifier; }
ProgressService &TQsoData::progress() const { return m_services.progress ? *m_services.progress : g_noProgress; }
const CallResolver &TQsoData::resolver() const { return m_services.resolver ? *m_services.resolver : g_noResolver; }
AwardHooks &TQsoData::awards() const { return m_services.awards ? *m_services.awards : g_noAwards; }
LogObserver &TQsoData::observer() const { return m_services.observer ? *m_services.observer : g_noObserver; }
const LogSettings &TQsoData::settings() const
{
    return m_services.settings ? *m_services.settings : g_defaultSettings;
}

void TQsoData::completeRecord(TQsoRec &rec) const { rec.WpxPfx = resolver().WpxPrefix(rec.Call.view()); }

void TQsoData::SetModified()
{
    if (!Modified) {
        Modified = true;
        observer().diskIndicator(LogObserver::DiskState::ModifiedUnsaved);
    }
    observer().logChanged();
}

std::int32_t TQsoData::AddQso(std::unique_ptr<TQsoRec> rec)
{
    completeRecord(*rec);
    TQsoRec *record = rec.release();
    std::int32_t position = AddRec(record);
    if (AwardTablesValid)
        awards().AddQsoToAwards(*this, *record);
    SetModified();
    return position;
}

void TQsoData::DeleteQso(TQsoRec *rec)
{
    std::int32_t position = PositionOf(rec);
    if (position < 0)
        return; // not a record of this log
    if (AwardTablesValid)
        awards().RemoveQsoFromAwards(*this, *rec);
    DeleteRec(position);
    SetModified();
}

TQsoRec *TQsoData::ReplaceQso(const TQsoRec &edited, TQsoRec *old)
{
    auto copy = std::make_unique<TQsoRec>(edited);
    TQsoRec *record = copy.get();
    AddQso(std::move(copy));
    DeleteQso(old);
    return record;
}

std::int32_t TQsoData::EndOfCall(std::string_view call) const
{
    TQsoRec key;
    key.Call = call;
    key.Date = 0xFFFF;
    key.Time = 0x7FFFFFFF;
    key.Band = 0xFF;
    key.Mode = 0xFF;
    std::int32_t position = 0;
    ByCall->Find(&key, position);
    return position;
}

bool TQsoData::HasCall(std::string_view call) const
{
    std::int32_t end = EndOfCall(call);
    return end > 0 && ByCall->Get(end - 1)->Call.view() == call;
}

void TQsoData::DropNoteIfUnused(std::string_view call)
{
    if (!HasCall(call))
        Notes.DeleteNote(call);
}

void TQsoData::CloseLog(bool save)
{
    observer().stopBackupCountdown();
    if (!LogFileName.empty()) {
        if (save) {
            WriteLog(true);
            if (observer().countryDataNeedsSaving())
                observer().saveCountryData();
        } else if (observer().countryDataNeedsSaving()) {
            observer().reloadCountryData();
        }
        LogFileName.clear();
    }
    Modified = false;
    LogOutOfDate = false;
}

void TQsoData::NewLog(const std::string &fileName)
{
    observer().stopBackupCountdown();
    LogFileName = fileName;
    std::filesystem::path dir = std::filesystem::path(fileName).parent_path();
    if (!dir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
    }
    LogOutOfDate = true;
    Modified = false;
    SetModified();
    AwardTablesValid = false;
    observer().showQsoWindow(*this);
}

void TQsoData::SetSortKey(SortKey key, std::int32_t &viewPosition)
{
    if (key == CurrentSortKey)
        return;
    const TQsoRec *shown =
        (viewPosition >= 0 && viewPosition < ViewIndex->Count()) ? ViewIndex->Get(viewPosition) : nullptr;
    CurrentSortKey = key;
    QsoCompareFn compare = SortOrderTable[static_cast<int>(key)].compare;
    if (compare) {
        if (SortIndex) {
            SortIndex->SetCompare(compare);
            SortIndex->SetSorted(true);
        } else {
            SortIndex = AddIndex(compare);
        }
        ViewIndex = SortIndex;
    } else {
        if (SortIndex) {
            RemoveIndex(SortIndex);
            SortIndex = nullptr;
        }
        ViewIndex = key == SortKey::Call ? ByCall : static_cast<TBAI<TQsoRec> *>(this);
    }
    viewPosition = shown ? ViewIndex->PositionOf(shown) : (ViewIndex->Count() > 0 ? 0 : -1);
}

} // namespace vellum
