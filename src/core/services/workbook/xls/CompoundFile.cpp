#include "services/workbook/xls/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

#include <memory>
#include <utility>
#include <strings.h>

#include "services/workbook/xls/BiffRecord.h"

namespace sedilo::workbook::xls {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

constexpr int MaxDepth = 32;

void dropLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf tells of damaged sector chains on stderr as well as by failing; the
// failure is what the user is told, so the library's log lines are dropped.
bool silenceLibraryLog()
{
    const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE);
    for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:utils", "GLib-GObject"})
        g_log_set_handler(domain, levels, dropLogMessage, nullptr);
    return true;
}

void readChildren(GsfInfile* storage, CompoundEntry& entry, int depth, std::size_t& budget)
{
    if (depth > MaxDepth)
        throw BiffError(CauseKind::DamagedWorkbook, "the compound file's storages are nested too deeply");
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(storage, i);
        GsfPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
        if (!child || !name)
            throw BiffError(CauseKind::DamagedWorkbook, "the compound file has an unreadable entry");
        CompoundEntry node;
        node.name = name;
        if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
            node.storage = true;
            gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.get()), node.classId.data());
            readChildren(GSF_INFILE(child.get()), node, depth + 1, budget);
        } else {
            const gsf_off_t size = gsf_input_size(child.get());
            if (size < 0 || static_cast<std::size_t>(size) > budget)
                throw BiffError(CauseKind::DamagedWorkbook, "the compound file's streams are larger than the file");
            budget -= static_cast<std::size_t>(size);
            node.data.resize(static_cast<std::size_t>(size));
            if (size > 0
                && !gsf_input_read(child.get(), static_cast<std::size_t>(size),
                                   reinterpret_cast<guint8*>(node.data.data())))
                throw BiffError(CauseKind::DamagedWorkbook, "the stream \"" + node.name + "\" cannot be read");
        }
        entry.children.push_back(std::move(node));
    }
}

void writeChildren(GsfOutfile* storage, const CompoundEntry& entry, std::string_view replacedStream,
                   std::string_view replacement, bool topLevel)
{
    for (const CompoundEntry& node : entry.children) {
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(storage, node.name.c_str(), node.storage));
        if (!child)
            throw BiffError(CauseKind::DamagedWorkbook, "the entry \"" + node.name + "\" cannot be written");
        if (node.storage) {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(child.get()), node.classId.data());
            writeChildren(GSF_OUTFILE(child.get()), node, replacedStream, replacement, false);
        } else {
            const std::string_view data = topLevel && node.name == replacedStream ? replacement : std::string_view(node.data);
            if (!data.empty()
                && !gsf_output_write(child.get(), data.size(), reinterpret_cast<const guint8*>(data.data())))
                throw BiffError(CauseKind::DamagedWorkbook, "the stream \"" + node.name + "\" cannot be written");
        }
        gsf_output_close(child.get());
    }
}

} // namespace

const CompoundEntry* CompoundEntry::findStream(std::string_view childName) const
{
    for (const CompoundEntry& child : children)
        if (!child.storage && child.name.size() == childName.size()
            && strncasecmp(child.name.c_str(), childName.data(), childName.size()) == 0)
            return &child;
    return nullptr;
}

CompoundEntry* CompoundEntry::findStream(std::string_view childName)
{
    return const_cast<CompoundEntry*>(std::as_const(*this).findStream(childName));
}

CompoundEntry readCompoundFile(std::string_view bytes)
{
    if (bytes.size() < 512 || bytes.substr(0, CompoundFileMagic.size()) != CompoundFileMagic)
        throw BiffError(CauseKind::NotAWorkbook, "the file is not a compound document");
    // libgsf registers its object types on first use without a lock; doing it
    // here, while a template is opened, keeps later saves from parallel
    // threads clear of that race.
    static const bool silenced = silenceLibraryLog();
    (void)silenced;
    g_type_ensure(GSF_OUTFILE_MSOLE_TYPE);
    g_type_ensure(GSF_OUTPUT_MEMORY_TYPE);

    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                                static_cast<gsf_off_t>(bytes.size()), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    if (!ole) {
        std::string cause = error && error->message ? error->message : "unknown error";
        if (error)
            g_error_free(error);
        throw BiffError(CauseKind::DamagedWorkbook, "the compound document is damaged (" + cause + ")");
    }
    CompoundEntry root;
    root.storage = true;
    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(ole.get()), root.classId.data());
    // Streams cannot hold more than the file; damaged sector chains that claim
    // more are refused before anything is allocated.
    std::size_t budget = bytes.size();
    readChildren(ole.get(), root, 0, budget);
    return root;
}

std::string writeCompoundFile(const CompoundEntry& root, std::string_view replacedStream, std::string_view replacement)
{
    GsfPtr<GsfOutput> sink(gsf_output_memory_new());
    {
        GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new_full(sink.get(), 512, 64));
        if (!ole)
            throw BiffError(CauseKind::DamagedWorkbook, "the compound document cannot be created");
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), root.classId.data());
        writeChildren(ole.get(), root, replacedStream, replacement, true);
        if (!gsf_output_close(GSF_OUTPUT(ole.get())))
            throw BiffError(CauseKind::DamagedWorkbook, "the compound document cannot be completed");
    }
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    // Closing the compound file has closed its sink; the memory stays readable.
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
}

} // namespace sedilo::workbook::xls
