'use strict'

const { Layout, numbers } = require('./layout')

// The variables the hub shows, by id with their names, and their values from the panel's state.
function variableDefinitions() {
	const definitions = [
		{ variableId: 'title', name: 'Menu title' },
		{ variableId: 'unit', name: 'Selected unit (0: none)' },
		{ variableId: 'info', name: 'Information line' },
		{ variableId: 'link', name: 'Link to the units (ok, lost)' },
	]
	for (const unit of numbers(Layout.units)) {
		definitions.push({ variableId: `online_${unit}`, name: `Unit ${unit} on line (1, 0)` })
	}
	for (const knob of numbers(Layout.knobs)) {
		definitions.push(
			{ variableId: `knob_${knob}_name`, name: `Knob ${knob}: name` },
			{ variableId: `knob_${knob}_value`, name: `Knob ${knob}: raw value` },
			{ variableId: `knob_${knob}_shown`, name: `Knob ${knob}: shown value` },
		)
	}
	for (const button of numbers(Layout.menuButtons)) {
		definitions.push({ variableId: `menu_${button}`, name: `Menu button ${button}: caption` })
	}
	for (const button of numbers(Layout.functionButtons)) {
		definitions.push({ variableId: `function_${button}`, name: `Function button ${button}: caption` })
	}
	return definitions
}

function variableValues(state) {
	const values = { title: state.title, unit: state.unit, info: state.info, link: state.link }
	state.online.forEach((on, i) => (values[`online_${i + 1}`] = on ? 1 : 0))
	state.knobs.forEach((knob, i) => {
		values[`knob_${i + 1}_name`] = knob.bound ? knob.name : ''
		values[`knob_${i + 1}_value`] = knob.bound ? knob.value : ''
		values[`knob_${i + 1}_shown`] = knob.bound ? knob.shown : ''
	})
	state.menus.forEach((button, i) => (values[`menu_${i + 1}`] = button.caption))
	state.functions.forEach((button, i) => (values[`function_${i + 1}`] = button.caption))
	return values
}

// Only the values that differ from `last`, which it brings up to date; the hub is told
// nothing that did not change.
function changedValues(state, last) {
	const changed = {}
	for (const [id, value] of Object.entries(variableValues(state))) {
		if (last[id] !== value) {
			changed[id] = value
			last[id] = value
		}
	}
	return changed
}

module.exports = { variableDefinitions, variableValues, changedValues }
