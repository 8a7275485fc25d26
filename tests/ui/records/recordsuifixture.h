#pragma once
// A main database in a temporary program folder, the program-wide state and the current
// measurement, for the records windows; messages are answered from a script.

#include "support/scriptedmessages.h"
#include "support/tempfolder.h"

#include "core/app/programstate.h"
#include "core/measure/currentmeasurement.h"
#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "core/records/patients.h"
#include "ui/records/recordscontext.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QSqlQuery>
#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace tork::test {

class RecordsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(buildTemplateDatabase(folder.file("tork6.mdb")), QString());
        ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Shared), QString());
        db = database.db();
        state.patientSortColumn = 1;
    }

    RecordsContext context()
    {
        RecordsContext c;
        c.state = &state;
        c.measurement = &measurement;
        c.db = db;
        c.playSound = [this](int signal) { sounds << signal; };
        c.runDialog = [this](QDialog& dialog) {
            if (!childDriver) {
                ADD_FAILURE() << "a child window opened without a driver";
                return int(QDialog::Rejected);
            }
            return childDriver(dialog);
        };
        return c;
    }

    PatientRecord addPatient(const QString& number, const QString& name = {}, double birth = 0, bool male = true,
                             double latest = 0)
    {
        PatientRecord p;
        p.number = number;
        p.name = name;
        p.birthDate = birth;
        p.male = male;
        p.latestMeasurement = latest;
        EXPECT_EQ(appendPatient(db, p), QString());
        return p;
    }

    MeasurementRecord addMeasurement(const QString& number, double when, double value = 10)
    {
        MeasurementRecord m;
        m.patientNumber = number;
        m.dateTime = when;
        m.values.fill(value);
        m.hasQuality = true;
        m.quality.fill(90);
        EXPECT_EQ(appendMeasurement(db, m), QString());
        return m;
    }

    double latestOf(const QString& number)
    {
        const auto p = findPatient(db, number);
        return p ? p->latestMeasurement : -1;
    }

    TempProgramFolder folder;
    Database database;
    QSqlDatabase db;
    ProgramState state;
    CurrentMeasurement measurement;
    ScriptedMessages messages;
    QList<int> sounds;
    // Drives a child window opened by the window under test; returns its result.
    std::function<int(QDialog&)> childDriver;
};

}  // namespace tork::test
