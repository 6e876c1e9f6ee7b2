#pragma once
// Runs a data-entry dialog built from its template over a transfer record.

class QWidget;

/// Builds dialog `templateId` from the template table, fills it from `record`, runs it
/// modally and, on OK only, copies the fields back into `record`. Returns true on OK.
bool execTemplateDialog(QWidget* parent, int templateId, void* record);
