'use strict'

const { combineRgb } = require('@companion-module/base')
const { Layout } = require('./layout')
const { numberChoice, keyChoice } = require('./choices')

const kLit = { bgcolor: combineRgb(255, 170, 0), color: combineRgb(0, 0, 0) }
const kOnLine = { bgcolor: combineRgb(0, 150, 0), color: combineRgb(255, 255, 255) }
const kLost = { bgcolor: combineRgb(200, 0, 0), color: combineRgb(255, 255, 255) }
const kUnbound = { color: combineRgb(110, 110, 110) }

// Which feedbacks a change of each pushed topic touches.
const kFeedbacksOfTopic = {
	unit: ['unit_selected'],
	online: ['unit_online'],
	link: ['link_lost'],
	knob: ['knob_display'],
	menu: ['menu_lit'],
	function: ['function_lit'],
	key: ['key_lit', 'unit_selected'],
}

// The keys lit as on the panel, and the key that shows a knob; `state()` gives the panel's state.
function feedbackDefinitions(state) {
	return {
		unit_online: {
			type: 'boolean',
			name: 'Unit on line',
			description: 'The unit answers on the line (the ON LINE row of the panel)',
			defaultStyle: kOnLine,
			options: [numberChoice('unit', 'Unit', Layout.units)],
			callback: (feedback) => state().online[Number(feedback.options.unit) - 1] === true,
		},
		unit_selected: {
			type: 'boolean',
			name: 'Unit selected',
			description: 'The panel works on this unit (its UNIT key lit)',
			defaultStyle: kLit,
			options: [numberChoice('unit', 'Unit', Layout.units)],
			callback: (feedback) => state().unit === Number(feedback.options.unit),
		},
		key_lit: {
			type: 'boolean',
			name: 'Hard key lit',
			description: 'The lamp of a hard key: the views, the menu shortcuts, ALT, the memories',
			defaultStyle: kLit,
			options: [keyChoice('key', 'VIEW FG')],
			callback: (feedback) => state().keyLit(String(feedback.options.key)),
		},
		menu_lit: {
			type: 'boolean',
			name: 'Menu button lit',
			defaultStyle: kLit,
			options: [numberChoice('button', 'Menu button', Layout.menuButtons)],
			callback: (feedback) => state().menus[Number(feedback.options.button) - 1]?.lit === true,
		},
		function_lit: {
			type: 'boolean',
			name: 'Function button lit',
			defaultStyle: kLit,
			options: [numberChoice('button', 'Function button', Layout.functionButtons)],
			callback: (feedback) => state().functions[Number(feedback.options.button) - 1]?.lit === true,
		},
		link_lost: {
			type: 'boolean',
			name: 'Link lost',
			description: 'The panel lost the serial line to its units',
			defaultStyle: kLost,
			options: [],
			callback: () => state().link === 'lost',
		},
		knob_display: {
			type: 'advanced',
			name: 'Knob display',
			description: "The knob's parameter name over its shown value, as its display on the panel",
			options: [numberChoice('knob', 'Knob', Layout.knobs)],
			callback: (feedback) => {
				const knob = state().knobs[Number(feedback.options.knob) - 1]
				if (!knob || !knob.bound) return { text: '', ...kUnbound }
				return { text: `${knob.name}\n${knob.shown}` }
			},
		},
	}
}

// The look of each key that lights, for the presets.
const kFeedbackStyles = {
	unit_online: kOnLine,
	unit_selected: kLit,
	key_lit: kLit,
	menu_lit: kLit,
	function_lit: kLit,
	link_lost: kLost,
}

module.exports = { feedbackDefinitions, kFeedbacksOfTopic, kFeedbackStyles }
